#pragma once

#include "content/operations/ContentOperation.h"

#include <QPointer>

class PolicyBase;
class QuorelContentLibraryRoot;

// Imports a collage package file (".marqacollage", ".solvicollage") into the Quorel library as
// a collage of the file's base name; a collage of that name is never overwritten.
class QuorelContentImport : public ContentOperation {
    Q_OBJECT

public:
    QString Title() const override { return m_title; }
    bool CanExecute() const override;
    int Execute(IFeedback* feedback, int options) override;

protected:
    QuorelContentImport(const QString& file, QuorelContentLibraryRoot* library,
                        const PolicyBase& policy, const QString& title);

private:
    QString m_file;
    QPointer<QuorelContentLibraryRoot> m_library;
    const PolicyBase& m_policy;
    QString m_title;
};

class MarqaQuorelContentImport : public QuorelContentImport {
    Q_OBJECT

public:
    MarqaQuorelContentImport(const QString& file, QuorelContentLibraryRoot* library);
};

class SolviQuorelContentImport : public QuorelContentImport {
    Q_OBJECT

public:
    SolviQuorelContentImport(const QString& file, QuorelContentLibraryRoot* library);
};
