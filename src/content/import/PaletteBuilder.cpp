#include "content/import/PaletteBuilder.h"

#include "content/import/ParallelFor.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kRefinements = 4;

struct Colour {
    std::array<int, 3> channel;
    int count;
};

struct Box {
    int begin;
    int end;
    int axis = 0;
    int range = 0;
};

std::array<int, 3> Channels(QRgb colour) {
    return {qRed(colour), qGreen(colour), qBlue(colour)};
}

void Measure(const std::vector<Colour>& colours, Box* box) {
    std::array<int, 3> low{255, 255, 255};
    std::array<int, 3> high{0, 0, 0};
    for (int i = box->begin; i < box->end; ++i) {
        for (int c = 0; c < 3; ++c) {
            low[size_t(c)] = std::min(low[size_t(c)], colours[size_t(i)].channel[size_t(c)]);
            high[size_t(c)] = std::max(high[size_t(c)], colours[size_t(i)].channel[size_t(c)]);
        }
    }
    box->range = -1;
    for (int c = 0; c < 3; ++c) {
        if (high[size_t(c)] - low[size_t(c)] > box->range) {
            box->range = high[size_t(c)] - low[size_t(c)];
            box->axis = c;
        }
    }
}

// Splits the widest box at the weighted median of its widest channel, until there are
// `capacity` boxes or none can be split.
std::vector<Box> MedianCut(std::vector<Colour>& colours, int capacity) {
    std::vector<Box> boxes{{0, int(colours.size())}};
    Measure(colours, &boxes[0]);
    while (int(boxes.size()) < capacity) {
        const auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const Box& a, const Box& b) { return a.range < b.range; });
        if (widest->range <= 0) {
            break;
        }
        Box box = *widest;
        const size_t axis = size_t(box.axis);
        std::sort(
            colours.begin() + box.begin, colours.begin() + box.end,
            [axis](const Colour& a, const Colour& b) { return a.channel[axis] < b.channel[axis]; });
        qint64 total = 0;
        for (int i = box.begin; i < box.end; ++i) {
            total += colours[size_t(i)].count;
        }
        qint64 running = 0;
        int split = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            running += colours[size_t(i)].count;
            split = i + 1;
            if (running * 2 >= total) {
                break;
            }
        }
        Box low{box.begin, split};
        Box high{split, box.end};
        Measure(colours, &low);
        Measure(colours, &high);
        *widest = low;
        boxes.push_back(high);
    }
    return boxes;
}

int Distance(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    const int r = a[0] - b[0];
    const int g = a[1] - b[1];
    const int bl = a[2] - b[2];
    return r * r + g * g + bl * bl;
}

// Finds the nearest palette colour (the lowest index among equals) by walking outwards from the
// colour's green through the palette sorted by green, each way until the green difference alone
// is farther than the best so far.
class NearestFinder {
public:
    explicit NearestFinder(const std::vector<std::array<int, 3>>& palette) : m_palette(palette) {
        m_order.resize(palette.size());
        for (size_t p = 0; p < palette.size(); ++p) {
            m_order[p] = int(p);
        }
        std::sort(m_order.begin(), m_order.end(), [&palette](int a, int b) {
            return palette[size_t(a)][1] < palette[size_t(b)][1];
        });
        for (const int p : m_order) {
            m_greens.push_back(palette[size_t(p)][1]);
        }
    }

    int Find(const std::array<int, 3>& colour) const {
        const int green = colour[1];
        const auto start = std::lower_bound(m_greens.begin(), m_greens.end(), green);
        const int first = int(start - m_greens.begin());
        int best = -1;
        int bestDistance = 0;
        const auto consider = [&](int i) {
            const int gap = m_greens[size_t(i)] - green;
            if (best >= 0 && gap * gap > bestDistance) {
                return false;
            }
            const int p = m_order[size_t(i)];
            const int distance = Distance(m_palette[size_t(p)], colour);
            if (best < 0 || distance < bestDistance || (distance == bestDistance && p < best)) {
                best = p;
                bestDistance = distance;
            }
            return true;
        };
        for (int i = first; i < int(m_greens.size()) && consider(i); ++i) {
        }
        for (int i = first - 1; i >= 0 && consider(i); --i) {
        }
        return best;
    }

private:
    const std::vector<std::array<int, 3>>& m_palette;
    std::vector<int> m_order;   // palette indices by green
    std::vector<int> m_greens;  // their greens, ascending
};

// Each colour's nearest palette entry, in slices over the machine's cores.
void FindNearest(const std::vector<Colour>& colours, const std::vector<std::array<int, 3>>& palette,
                 std::vector<int>* nearest) {
    constexpr int kSlice = 1024;
    const NearestFinder finder(palette);
    ParallelFor(int((colours.size() + kSlice - 1) / kSlice), [&](int slice) {
        const size_t end = std::min(colours.size(), size_t(slice + 1) * kSlice);
        for (size_t i = size_t(slice) * kSlice; i < end; ++i) {
            (*nearest)[i] = finder.Find(colours[i].channel);
        }
    });
}

}  // namespace

void PaletteBuilder::Add(QRgb colour) {
    ++m_counts[colour | 0xFF000000u];
}

std::vector<QRgb> PaletteBuilder::Build(int capacity) {
    m_index.clear();
    std::vector<QRgb> palette;
    if (m_counts.empty() || capacity <= 0) {
        return palette;
    }
    if (int(m_counts.size()) <= capacity) {
        for (const auto& [colour, count] : m_counts) {
            m_index[colour] = int(palette.size());
            palette.push_back(colour);
        }
        return palette;
    }
    std::vector<Colour> colours;
    colours.reserve(m_counts.size());
    for (const auto& [colour, count] : m_counts) {
        colours.push_back({Channels(colour), count});
    }
    std::vector<std::array<int, 3>> centres;
    for (const Box& box : MedianCut(colours, capacity)) {
        std::array<qint64, 3> sum{};
        qint64 weight = 0;
        for (int i = box.begin; i < box.end; ++i) {
            for (size_t c = 0; c < 3; ++c) {
                sum[c] += qint64(colours[size_t(i)].channel[c]) * colours[size_t(i)].count;
            }
            weight += colours[size_t(i)].count;
        }
        centres.push_back({int((sum[0] + weight / 2) / weight), int((sum[1] + weight / 2) / weight),
                           int((sum[2] + weight / 2) / weight)});
    }
    std::vector<int> nearest(colours.size());
    for (int round = 0; round <= kRefinements; ++round) {
        FindNearest(colours, centres, &nearest);
        if (round == kRefinements) {
            break;
        }
        std::vector<std::array<qint64, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (size_t i = 0; i < colours.size(); ++i) {
            auto& sum = sums[size_t(nearest[i])];
            for (size_t c = 0; c < 3; ++c) {
                sum[c] += qint64(colours[i].channel[c]) * colours[i].count;
            }
            sum[3] += colours[i].count;
        }
        for (size_t p = 0; p < centres.size(); ++p) {
            if (const qint64 weight = sums[p][3]; weight > 0) {
                for (size_t c = 0; c < 3; ++c) {
                    centres[p][c] = int((sums[p][c] + weight / 2) / weight);
                }
            }
        }
    }
    for (const auto& centre : centres) {
        palette.push_back(qRgb(centre[0], centre[1], centre[2]));
    }
    for (size_t i = 0; i < colours.size(); ++i) {
        const auto& c = colours[i].channel;
        m_index[qRgb(c[0], c[1], c[2])] = nearest[i];
    }
    return palette;
}

int PaletteBuilder::IndexOf(QRgb colour) const {
    const auto found = m_index.find(colour | 0xFF000000u);
    return found == m_index.end() ? 0 : found->second;
}
