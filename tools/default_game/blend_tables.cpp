#include "tools/default_game/blend_tables.h"

#include "tools/default_game/game_palette.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

namespace defgame {
namespace {

constexpr int kTurned = 16; // the numbers a variant turns or copies: 16 to 207
constexpr int kTurnedEnd = 208;

// Whether a palette number may stand for a mix.
bool mixNumber(int number)
{
    return number > 0 && (number < kCycleFirst || number >= kFrame);
}

std::uint32_t packed(Rgb c)
{
    return static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
}

// The place among the colours of the one nearest to the mix whose channels,
// doubled, are the sums (doubled, so that no rounding picks between two
// equally near colours). The colours are sorted, and so by red first: the
// search goes outward from the mix's red; a colour whose red
// alone lies farther than the nearest found so far ends it on that side.
std::size_t nearestToMix(const std::vector<std::uint32_t>& sorted, int sumR, int sumG, int sumB)
{
    std::size_t best = 0;
    int bestDistance = -1;
    auto consider = [&](std::size_t k) {
        const std::uint32_t c = sorted[k];
        const int r = 2 * static_cast<int>(c >> 16) - sumR;
        if (bestDistance >= 0 && r * r >= bestDistance) return false;
        const int g = 2 * static_cast<int>((c >> 8) & 0xFF) - sumG;
        const int b = 2 * static_cast<int>(c & 0xFF) - sumB;
        const int distance = r * r + g * g + b * b;
        if (bestDistance < 0 || distance < bestDistance) {
            best = k;
            bestDistance = distance;
        }
        return true;
    };
    const auto middle = static_cast<std::size_t>(
        std::lower_bound(sorted.begin(), sorted.end(), static_cast<std::uint32_t>(sumR / 2) << 16) -
        sorted.begin());
    for (std::size_t up = middle; up < sorted.size() && consider(up); ++up) {
    }
    for (std::size_t down = middle; down > 0 && consider(down - 1); --down) {
    }
    return best;
}

// Every variant's colours are colours of the game's palette, and the
// variants that turn the palette have the same mix colours in other places:
// the nearest mix colour of two colours is worked out once per set of mix
// colours, by the two colours' places among the game's colours.
class Mixes {
public:
    Mixes()
    {
        for (const Rgb c : gamePalette())
            colours_.push_back(packed(c));
        std::sort(colours_.begin(), colours_.end());
        colours_.erase(std::unique(colours_.begin(), colours_.end()), colours_.end());
    }

    std::vector<std::uint8_t> table(const std::array<Rgb, 256>& palette)
    {
        // The mix colours, each with the lowest number that has it.
        std::vector<std::pair<std::uint32_t, std::uint8_t>> mixes;
        for (int i = 1; i < 256; ++i)
            if (mixNumber(i))
                mixes.emplace_back(packed(palette[static_cast<std::size_t>(i)]),
                                   static_cast<std::uint8_t>(i));
        std::stable_sort(mixes.begin(), mixes.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::uint32_t> mixColours;
        std::vector<std::uint8_t> numbers;
        for (const auto& [colour, number] : mixes) {
            if (!mixColours.empty() && mixColours.back() == colour) continue;
            mixColours.push_back(colour);
            numbers.push_back(number);
        }
        const std::size_t count = colours_.size();
        std::vector<int>& nearest =
            nearestBySet_.try_emplace(mixColours, count * count, -1).first->second;

        std::array<std::size_t, 256> place{};
        for (std::size_t i = 0; i < 256; ++i)
            place[i] = static_cast<std::size_t>(
                std::lower_bound(colours_.begin(), colours_.end(), packed(palette[i])) -
                colours_.begin());
        std::vector<std::uint8_t> out(65536);
        for (std::size_t a = 0; a < 256; ++a) {
            for (std::size_t b = a; b < 256; ++b) {
                int& known =
                    nearest[std::min(place[a], place[b]) * count + std::max(place[a], place[b])];
                if (known < 0) {
                    const Rgb ca = palette[a], cb = palette[b];
                    known = static_cast<int>(
                        nearestToMix(mixColours, ca.r + cb.r, ca.g + cb.g, ca.b + cb.b));
                }
                out[a * 256 + b] = out[b * 256 + a] = numbers[static_cast<std::size_t>(known)];
            }
        }
        return out;
    }

private:
    std::vector<std::uint32_t> colours_; // the game's colours, sorted, each once
    std::map<std::vector<std::uint32_t>, std::vector<int>> nearestBySet_;
};

// The palette of variant n as the runtime makes it from the game's palette:
// below 12 the colours 16 to 207 turned by n x 16 places, from 12 on twelve
// copies of the 16 colours from (n - 11) x 16.
std::array<Rgb, 256> variantPalette(int n)
{
    const std::array<Rgb, 256> base = gamePalette();
    std::array<Rgb, 256> out = base;
    const int count = kTurnedEnd - kTurned;
    for (int i = kTurned; i < kTurnedEnd; ++i) {
        const int from =
            n < 12 ? kTurned + (i - kTurned + n * 16) % count : (n - 11) * 16 + (i - kTurned) % 16;
        out[static_cast<std::size_t>(i)] = base[static_cast<std::size_t>(from)];
    }
    return out;
}

} // namespace

std::vector<GeneratedFile> blendTableFiles()
{
    Mixes mixes;
    std::vector<GeneratedFile> files;
    for (int n = 0; n < kPaletteVariants; ++n) {
        char path[32];
        std::snprintf(path, sizeof path, "bmp\\hbt\\hbt%02d.dat", n);
        files.push_back({path, mixes.table(variantPalette(n))});
    }
    return files;
}

} // namespace defgame
