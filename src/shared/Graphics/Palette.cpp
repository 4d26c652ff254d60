#include "shared/Graphics/Palette.h"

#include <array>
#include <cstddef>

namespace Corvell {

namespace {

constexpr int kEntries = 31;

struct PaletteTable {
    std::array<Color, kEntries> color{};
    std::array<bool, kEntries> present{};

    void Set(int i, Color c) {
        color[size_t(i)] = c;
        present[size_t(i)] = true;
    }
    void SetIfMissing(int i, int from) {
        if (!present[size_t(i)])
            Set(i, color[size_t(from)]);
    }

    PaletteTable() {
        auto grey = [](uint8_t v) { return MakeColor(v, v, v); };
        Set(0, grey(255));
        Set(1, grey(170));
        Set(2, grey(89));
        Set(3, grey(68));
        Set(4, grey(52));
        Set(5, color[1]);
        Set(6, color[2]);
        Set(7, grey(119));
        Set(8, grey(255));
        Set(9, grey(52));
        Set(10, grey(221));
        SetIfMissing(11, 3);
        SetIfMissing(12, 4);
        SetIfMissing(13, 7);
        SetIfMissing(14, 9);
        Set(15, color[10]);
        Set(16, color[1]);
        Set(17, color[0]);
        Set(20, grey(0));
        Set(21, grey(82));
        Set(22, grey(157));
        Set(23, grey(123));
        Set(24, grey(68));
        Set(25, grey(221));
        Set(26, grey(187));
        Set(27, grey(119));
        Set(28, grey(187));
        Set(29, grey(89));
        Set(30, grey(52));
    }
};

// Built on the first lookup, on the window's thread.
const PaletteTable& Table() {
    static const PaletteTable table;
    return table;
}

} // namespace

Color GetColor(int32_t index) {
    const PaletteTable& t = Table();
    if (index < 0 || index >= kEntries || !t.present[size_t(index)])
        return t.color[0];
    return t.color[size_t(index)];
}

const Color* ScrollBarColors() {
    static const Color colors[7] = {GetColor(22), GetColor(23), GetColor(20), MakeColor(75, 75, 75),
                                    GetColor(24), GetColor(20), GetColor(23)};
    return colors;
}

} // namespace Corvell
