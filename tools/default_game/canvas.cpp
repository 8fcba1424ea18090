#include "tools/default_game/canvas.h"

#include <cstdlib>
#include <stdexcept>

namespace defgame {

Canvas::Canvas(int width, int height, std::uint8_t fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
    if (width <= 0 || height <= 0) throw std::invalid_argument("a picture needs a size");
}

std::uint8_t Canvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kKey;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Canvas::set(int x, int y, std::uint8_t c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = c;
}

void Canvas::fill(int x, int y, int w, int h, std::uint8_t c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Canvas::frame(int x, int y, int w, int h, std::uint8_t c)
{
    fill(x, y, w, 1, c);
    fill(x, y + h - 1, w, 1, c);
    fill(x, y, 1, h, c);
    fill(x + w - 1, y, 1, h, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, std::uint8_t c)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        set(x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::ellipse(int x, int y, int w, int h, std::uint8_t c)
{
    // Pixel centres tested against the ellipse, in doubled coordinates so
    // that even sizes stay symmetric.
    const long rx = w, ry = h;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const long px = 2 * i + 1 - rx;
            const long py = 2 * j + 1 - ry;
            if (px * px * ry * ry + py * py * rx * rx <= rx * rx * ry * ry) set(x + i, y + j, c);
        }
    }
}

void Canvas::gradient(int x, int y, int w, int h, const std::vector<std::uint8_t>& colours)
{
    if (colours.empty() || h <= 0) return;
    const int n = static_cast<int>(colours.size());
    for (int j = 0; j < h; ++j)
        fill(x, y + j, w, 1, colours[static_cast<std::size_t>(j * n / h)]);
}

void Canvas::paste(const Canvas& src, int x, int y, bool keyed, bool mirrored, int scale)
{
    for (int j = 0; j < src.height(); ++j) {
        for (int i = 0; i < src.width(); ++i) {
            const std::uint8_t c = src.at(mirrored ? src.width() - 1 - i : i, j);
            if (keyed && c == kKey) continue;
            fill(x + i * scale, y + j * scale, scale, scale, c);
        }
    }
}

void Canvas::outline(int x, int y, int w, int h, std::uint8_t c)
{
    std::vector<std::pair<int, int>> marks;
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            if (at(i, j) != kKey) continue;
            const bool beside = (at(i - 1, j) != kKey && at(i - 1, j) != c) ||
                                (at(i + 1, j) != kKey && at(i + 1, j) != c) ||
                                (at(i, j - 1) != kKey && at(i, j - 1) != c) ||
                                (at(i, j + 1) != kKey && at(i, j + 1) != c);
            if (beside) marks.emplace_back(i, j);
        }
    }
    for (auto [i, j] : marks)
        set(i, j, c);
}

void Canvas::recolour(int x, int y, int w, int h, std::uint8_t from, std::uint8_t to)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (at(i, j) == from) set(i, j, to);
}

Canvas pixelArt(const std::vector<std::string>& rows, const Legend& legend)
{
    if (rows.empty() || rows.front().empty()) throw std::invalid_argument("empty pixel art");
    Canvas art(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < art.height(); ++y) {
        const std::string& row = rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != art.width())
            throw std::invalid_argument("pixel art rows differ in length: " + row);
        for (int x = 0; x < art.width(); ++x) {
            auto it = legend.find(row[static_cast<std::size_t>(x)]);
            if (it != legend.end()) art.set(x, y, it->second);
        }
    }
    return art;
}

} // namespace defgame
