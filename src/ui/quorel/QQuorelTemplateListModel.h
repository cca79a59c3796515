#pragma once

#include <QStringListModel>

#include <vector>

class QuorelTemplateList;

// The Quorel templates as a list of names: each shown with its family, " (Ma)" or " (So)",
// while editing gives and takes the bare name. A name edited in place renames the template.
class QQuorelTemplateListModel : public QStringListModel {
    Q_OBJECT
public:
    explicit QQuorelTemplateListModel(QObject* parent = nullptr);

    // Shows the templates of `templates` (none for nullptr); the list must outlive the model or
    // be replaced first.
    void SetTemplates(QuorelTemplateList* templates);
    QuorelTemplateList* Templates() const { return m_templates; }
    // Reads the names and families again after the list changed.
    void Refresh();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A new, non-blank name renames the template; a blank one is refused.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void templateRenamed(int row);

private:
    QuorelTemplateList* m_templates = nullptr;
    std::vector<int> m_types;  // each row's fixtureType
};
