#include "ui/actions/ContentBaseAddressAction.h"

#include "content/ContentBase.h"
#include "ui/actions/RunContentOperation.h"

ContentBaseAddressAction::ContentBaseAddressAction(const QString& caption,
                                                   const QList<ContentBase*>& items,
                                                   ContentAddressOperation::Mode mode,
                                                   QWidget* parent)
    : ContentBaseAction(caption, items, parent), m_mode(mode) {}

void ContentBaseAddressAction::execute() {
    if (isEnabled()) {
        RunContentOperation(ParentWidget(),
                            std::make_unique<ContentAddressOperation>(Objects(), m_mode));
    }
}

ContentBaseAutosetAction::ContentBaseAutosetAction(const QList<ContentBase*>& items, bool all,
                                                   QWidget* parent)
    : ContentBaseAddressAction(all ? "Autoset All DMX" : "Autoset DMX", items,
                               ContentAddressOperation::Autoset, parent) {
    setEnabled(AnyQualifies());
}

ContentBaseResetAction::ContentBaseResetAction(const QList<ContentBase*>& items, bool all,
                                               QWidget* parent)
    : ContentBaseAddressAction(all ? "Reset All DMX" : "Reset DMX", items,
                               ContentAddressOperation::Reset, parent) {
    const QList<ContentBase*> objects = Objects();
    setEnabled(std::any_of(objects.begin(), objects.end(), [](const ContentBase* item) {
        return Qualifies(item) && item->Address() > 0;
    }));
}
