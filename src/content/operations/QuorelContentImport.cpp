#include "content/operations/QuorelContentImport.h"

#include "comm/IFeedback.h"
#include "content/NamedPolicies.h"
#include "content/library/QuorelContentLibrary.h"
#include "content/operations/FeedbackWrapper.h"

#include <QFileInfo>

QuorelContentImport::QuorelContentImport(const QString& file, QuorelContentLibraryRoot* library,
                                         const PolicyBase& policy, const QString& title)
    : m_file(file), m_library(library), m_policy(policy), m_title(title) {}

bool QuorelContentImport::CanExecute() const {
    return m_library && QFileInfo(m_file).isFile();
}

int QuorelContentImport::Execute(IFeedback* feedback, int /*options*/) {
    feedback->SetTotal(100);
    feedback->AddString(QStringLiteral("Importing %1").arg(m_file), FeedbackStatusNormal);
    QuorelContentLibraryPackageFile collage(m_file, &m_policy);
    if (QFileInfo(m_file).isFile()) {
        collage.Scan();
    }
    if (!m_library || collage.ChildCount() == 0) {
        feedback->AddString(QStringLiteral("%1 holds no collage").arg(m_file), FeedbackStatusError);
        return Failed;
    }
    FeedbackWrapper step(feedback, 0, 100);
    const QString name = QFileInfo(m_file).completeBaseName();
    if (!m_library->ImportCollage(name, &m_policy, collage, &step)) {
        return Failed;
    }
    const int result = step.WaitResult();
    feedback->SetCurrent(100);
    return result;
}

MarqaQuorelContentImport::MarqaQuorelContentImport(const QString& file,
                                                   QuorelContentLibraryRoot* library)
    : QuorelContentImport(file, library, NamedPolicies::MarqaQuorelContentPackage(),
                          QStringLiteral("Importing MARQA Collage")) {}

SolviQuorelContentImport::SolviQuorelContentImport(const QString& file,
                                                   QuorelContentLibraryRoot* library)
    : QuorelContentImport(file, library, NamedPolicies::SolviQuorelContentPackage(),
                          QStringLiteral("Importing Solvi Collage")) {}
