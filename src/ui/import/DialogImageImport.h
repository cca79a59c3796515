#pragma once

#include "content/ledimage/IImageImport.h"

#include "content/import/ImportSettings.h"

#include <QPointer>
#include <QWidget>

#include <optional>

// The desktop program's image import: the import dialog of the image's family, over the given
// window. A file that cannot be read is refused with a message box saying why. In a row of
// several files the dialog offers "Apply to all": the rest of the row is then imported with
// that file's settings, without dialogs.
class DialogImageImport : public IImageImport {
public:
    explicit DialogImageImport(QWidget* parent = nullptr) : m_parent(parent) {}

    bool Import(Content& image, int address, const QString& file) override;
    void BeginBatch(int files) override;
    void EndBatch() override;

private:
    // The family's dialog for `file`, offering "Apply to all" for the `files` left in the row.
    template <class Dialog, class Image>
    bool Run(Image& image, const QString& file, int files);

    // Warns that `file` cannot be read; false.
    bool Refuse(const QString& title, const QString& file, const QString& why) const;

    QPointer<QWidget> m_parent;
    int m_batchLeft = 0;  // files of the row still to import, the current one included
    std::optional<ImportSettings> m_applied;  // chosen with "Apply to all"
};
