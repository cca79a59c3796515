#include "quorel/QuorelCollage.h"

#include "comm/FeedbackCollector.h"
#include "content/ContentModelMutex.h"
#include "content/NamedPolicies.h"
#include "content/library/QuorelContentLibrary.h"

QuorelCollage::QuorelCollage(int fixtureType, std::vector<QuorelRenderer::Rendered> rendered)
    : m_fixtureType(fixtureType),
      m_images(int(rendered.size())),
      m_collage(QuorelRenderer::Collage(QString(), std::move(rendered))) {}

const PolicyBase& QuorelCollage::Policy() const {
    return m_fixtureType == QuorelTypes::kMarqa ? NamedPolicies::MarqaQuorelContentPackage()
                                                : NamedPolicies::SolviQuorelContentPackage();
}

QuorelCollage::Stored QuorelCollage::StoreAs(QuorelContentLibraryRoot& library, const QString& name,
                                             QString* error) {
    if (library.HasCollage(name)) {
        *error = QStringLiteral("There is already a collage with that name.");
        return Stored::NameTaken;
    }
    {
        // The collage and its folder carry the name the fixtures will show.
        const ContentModelLock lock;
        m_collage->SetName(name);
        if (m_collage->ChildCount() > 0) {
            m_collage->Child(0)->SetName(name);
        }
    }
    FeedbackCollector feedback;
    if (!library.ImportCollage(name, &Policy(), *m_collage, &feedback)) {
        const QStringList errors = feedback.Errors();
        *error = errors.isEmpty() ? QStringLiteral("the collage could not be stored")
                                  : errors.join("; ");
        return Stored::Failed;
    }
    return Stored::Yes;
}
