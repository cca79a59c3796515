#include "ui/views/ContentFolderView.h"

#include "content/ContentFolder.h"
#include "os/Trap.h"
#include "ui/views/ContentFolderList.h"
#include "ui/views/ContentFolderModel.h"
#include "ui/views/ContentFolderPreview.h"

#include <QItemSelectionModel>

ContentFolderView::ContentFolderView(QWidget* parent)
    : QTabWidget(parent),
      m_model(new ContentFolderModel(this)),
      m_selection(new QItemSelectionModel(m_model, this)),
      m_list(new ContentFolderList(this)),
      m_preview(new ContentFolderPreview(this)) {
    m_list->setModel(m_model);
    m_list->setSelectionModel(m_selection);
    m_list->setColumnWidth(0, 240);
    m_preview->SetModel(m_model, m_selection);
    addTab(m_list, "List");
    addTab(m_preview, "Preview");
    bool ok =
        bool(connect(m_list, &ContentFolderList::navigateTo, this, &ContentFolderView::SetFolder));
    ok = ok && bool(connect(m_preview, &ContentFolderPreview::navigateTo, this,
                            &ContentFolderView::SetFolder));
    OS_TRAP_IF(!ok);
}

void ContentFolderView::SetFolder(ContentFolder* folder) {
    m_model->SetFolder(folder);
}
