#include "ui/Resources.h"

#include <QtGlobal>

void InitAurelResources() {
    static const bool once = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(once);
}
