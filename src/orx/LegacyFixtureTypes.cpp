#include "orx/LegacyFixtureTypes.h"

#include <array>

namespace LegacyFixtureTypes {

namespace {

LegacyFixtureType Row(const char* name, bool uploadable, quint16 packetSize, const char* stem) {
    const QString base = QString::fromLatin1(stem);
    return {name, uploadable, packetSize, {base + "_*.orx", base + "_*.bin"}};
}

}  // namespace

const LegacyFixtureType* Find(quint16 model) {
    static const std::array<LegacyFixtureType, kCount> table = {
        Row("ORX Spot 150", false, 128, "spot150"),
        Row("ORX Spot 250", true, 512, "spot250"),
        Row("ORX Spot 250 XT", true, 512, "spot250xt"),
        Row("ORX Spot 400", true, 512, "spot400"),
        Row("ORX Spot 575", true, 512, "spot575"),
        Row("ORX Spot 575 XT", true, 512, "spot575xt"),
        Row("ORX Spot 700", true, 2048, "spot700"),
        Row("ORX Spot 1200", true, 2048, "spot1200"),
        Row("ORX Spot 1200 XT", true, 2048, "spot1200xt"),
        Row("ORX Wash 150", false, 128, "wash150"),
        Row("ORX Wash 250", true, 512, "wash250"),
        Row("ORX Wash 400", true, 512, "wash400"),
        Row("ORX Wash 575", true, 512, "wash575"),
        Row("ORX Wash 575 XT", true, 512, "wash575xt"),
        Row("ORX Wash 700", true, 2048, "wash700"),
        Row("ORX Wash 1200", true, 2048, "wash1200"),
        Row("ORX Wash 1200 XT", true, 2048, "wash1200xt"),
        Row("ORX Profile 575", true, 512, "profile575"),
        Row("ORX Profile 700", true, 2048, "profile700"),
        Row("ORX Profile 1200", true, 2048, "profile1200"),
        Row("ORX Beam 300", true, 512, "beam300"),
        Row("ORX Beam 700", true, 2048, "beam700"),
        Row("ORX Zoom 250", true, 512, "zoom250"),
        Row("ORX Zoom 575", true, 512, "zoom575"),
        Row("ORX Mirror 150", false, 128, "mirror150"),
        Row("ORX Mirror 250", false, 128, "mirror250"),
        Row("ORX Mirror 575", true, 512, "mirror575"),
        Row("ORX Mirror 1200", true, 2048, "mirror1200"),
        Row("ORX Hue 250", false, 128, "hue250"),
        Row("ORX Hue 575", true, 512, "hue575"),
        Row("ORX Hue 1200", true, 2048, "hue1200"),
        Row("ORX Stage 250", true, 512, "stage250"),
        Row("ORX Stage 575", true, 512, "stage575"),
        Row("ORX Strobe 1500", false, 128, "strobe1500"),
        Row("ORX Strobe 3000", false, 128, "strobe3000"),
        Row("ORX Tour 700", true, 2048, "tour700"),
        Row("ORX Tour 1200", true, 2048, "tour1200"),
        Row("ORX Facade 150", true, 512, "facade150"),
        Row("ORX Facade 250", true, 512, "facade250"),
    };
    return model < table.size() ? &table[model] : nullptr;
}

}  // namespace LegacyFixtureTypes
