#include "hardware/InterfaceClasses.h"

#include <algorithm>

namespace Hardware::InterfaceClasses {

const std::array<QUuid, 10>& All() {
    static const std::array<QUuid, 10> classes = {
        QUuid("{0f78d199-75c8-48a4-8e46-5b11a9c78c12}"),
        QUuid("{abef3bad-fe4c-4dc0-811c-458db90d2a9b}"),
        QUuid("{5621b03d-10b4-4624-9a0c-1d4a87217b1d}"),
        QUuid("{0640cd95-4444-420c-8ee0-451d73afac3e}"),
        QUuid("{4d9dc4a0-dbf9-439e-9769-57a3689f2563}"),
        QUuid("{f1239e79-fa62-420f-baa1-bc8628b1a890}"),
        QUuid("{e470434d-a234-4c8f-aeef-4bf8263e5ad1}"),
        QUuid("{4c3fe575-0158-4b4d-a9b6-1ca517bb4cd0}"),
        QUuid("{24cb6835-79d6-4299-8e95-7329162bb324}"),
        QUuid("{d98a7a23-98bd-48c1-a651-cf054d42db0a}"),
    };
    return classes;
}

int IndexOf(const QUuid& interfaceClass) {
    const auto& classes = All();
    const auto it = std::find(classes.begin(), classes.end(), interfaceClass);
    return it == classes.end() ? -1 : int(it - classes.begin());
}

QString Text(const QUuid& interfaceClass) {
    return interfaceClass.toString(QUuid::WithoutBraces).toLower();
}

}  // namespace Hardware::InterfaceClasses
