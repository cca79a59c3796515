#pragma once

#include "content/Content.h"
#include "content/ledimage/LEDImageFamily.h"

#include <memory>

class LumoRDMImage;

// How one fixture family's content items become the bytes sent to its fixtures and back:
// which items it takes, its byte record, and the conversions between the two.
class LumoImageKind {
public:
    virtual ~LumoImageKind() = default;

    static const LumoImageKind& Marqa();
    static const LumoImageKind& Solvi();
    static const LumoImageKind& Of(LEDImageFamily::Family family);

    virtual LEDImageFamily::Family Family() const = 0;
    // True for an image item of this family.
    virtual bool Accepts(const Content* item) const = 0;
    // A new empty item and a new empty byte record of the family.
    virtual std::unique_ptr<Content> NewItem() const = 0;
    virtual std::unique_ptr<LumoRDMImage> NewRecord() const = 0;
    // The item's bytes as the fixture stores them; false for an item of another kind.
    virtual bool ToRecord(const Content& item, LumoRDMImage* record) const = 0;
    // Fills the item from a record; false when the record does not fit the item.
    virtual bool FromRecord(const LumoRDMImage& record, Content* item) const = 0;
};
