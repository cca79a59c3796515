#include "lumo/LumoImageKind.h"

#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"

namespace {

template <class Image, LEDImageFamily::Family kFamily>
class ImageKind : public LumoImageKind {
public:
    using Record = typename Image::Record;

    LEDImageFamily::Family Family() const override { return kFamily; }
    bool Accepts(const Content* item) const override {
        return qobject_cast<const Image*>(item) != nullptr;
    }
    std::unique_ptr<Content> NewItem() const override { return std::make_unique<Image>(); }
    std::unique_ptr<LumoRDMImage> NewRecord() const override { return std::make_unique<Record>(); }
    bool ToRecord(const Content& item, LumoRDMImage* record) const override {
        const auto* image = qobject_cast<const Image*>(&item);
        auto* target = dynamic_cast<Record*>(record);
        if (!image || !target) {
            return false;
        }
        image->ToRDMImage(target);
        return true;
    }
    bool FromRecord(const LumoRDMImage& record, Content* item) const override {
        auto* image = qobject_cast<Image*>(item);
        const auto* source = dynamic_cast<const Record*>(&record);
        return image && source && image->FromRDMImage(*source);
    }
};

}  // namespace

const LumoImageKind& LumoImageKind::Marqa() {
    static const ImageKind<MarqaImage, LEDImageFamily::Family::Marqa> kind;
    return kind;
}

const LumoImageKind& LumoImageKind::Solvi() {
    static const ImageKind<SolviImage, LEDImageFamily::Family::Solvi> kind;
    return kind;
}

const LumoImageKind& LumoImageKind::Of(LEDImageFamily::Family family) {
    return family == LEDImageFamily::Family::Marqa ? Marqa() : Solvi();
}
