#pragma once

#include <QRgb>

#include <unordered_map>
#include <vector>

// Chooses at most a given number of colours for a whole clip so that every LED colour of every
// frame has a close match: the exact colours when there are few enough, otherwise a median cut
// of the colours (weighted by how often they occur) refined by a few rounds of moving each
// palette colour to the mean of the colours it stands for.
class PaletteBuilder {
public:
    void Add(QRgb colour);
    int DistinctColours() const { return int(m_counts.size()); }

    // The palette, at most `capacity` colours (all opaque).
    std::vector<QRgb> Build(int capacity);
    // The palette entry chosen for a colour given to Add (0 for any other).
    int IndexOf(QRgb colour) const;

private:
    std::unordered_map<QRgb, int> m_counts;
    std::unordered_map<QRgb, int> m_index;
};
