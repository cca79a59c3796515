#include "ui/quorel/QQuorelTemplateListModel.h"

#include "quorel/QuorelTemplateList.h"

QQuorelTemplateListModel::QQuorelTemplateListModel(QObject* parent) : QStringListModel(parent) {}

void QQuorelTemplateListModel::SetTemplates(QuorelTemplateList* templates) {
    m_templates = templates;
    Refresh();
}

void QQuorelTemplateListModel::Refresh() {
    QStringList names;
    m_types.clear();
    if (m_templates) {
        for (const auto& quorel : m_templates->All()) {
            names.append(quorel->name);
            m_types.push_back(quorel->fixtureType);
        }
    }
    setStringList(names);
}

QVariant QQuorelTemplateListModel::data(const QModelIndex& index, int role) const {
    const QVariant value = QStringListModel::data(index, role);
    if (role != Qt::DisplayRole || !value.isValid() || size_t(index.row()) >= m_types.size()) {
        return value;
    }
    const bool marqa = m_types[size_t(index.row())] == 0;
    return value.toString() + (marqa ? QStringLiteral(" (Ma)") : QStringLiteral(" (So)"));
}

bool QQuorelTemplateListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !m_templates || !index.isValid() ||
        index.row() >= m_templates->Count()) {
        return false;
    }
    const QString name = value.toString().trimmed();
    if (name.isEmpty() || !QStringListModel::setData(index, name, Qt::EditRole)) {
        return false;
    }
    m_templates->Rename(index.row(), name);
    emit templateRenamed(index.row());
    return true;
}
