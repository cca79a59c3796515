#pragma once

#include <QString>

// What sets one fixture family's images apart: its index (which selects the LED layout and
// the file suffix), its byte record and its renderer.
template <int Index, class RDMImage, class Render>
struct LEDImageTraits {
    static constexpr int kIndex = Index;
    using RDMImageType = RDMImage;
    using RenderType = Render;

    static QString Suffix() {
        static const char* const kSuffixes[] = {"mqi", "slvi"};
        return QString::fromLatin1(kSuffixes[Index]);
    }
    static const Render& Renderer() { return Render::ForFamily(Index); }
};
