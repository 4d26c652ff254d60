#include "ui/ChordView.h"

#include "shared/Graphics/GraphicsContext.h"

#include <string>
#include <vector>

namespace Corvell {

namespace {
constexpr int32_t kDefaultFace = 3; // any index past the named faces
constexpr uint32_t kLine = kTextSingleLine | kTextNoPrefix;
constexpr int32_t kRaise = 2; // the small pieces sit this much higher
} // namespace

ChordView::ChordView()
    : m_large(new Font(kDefaultFace, 16.0f, 0, Font::Points)), m_small(new Font(kDefaultFace, 14.0f, 0, Font::Points)) {}

void ChordView::Update(int32_t par, int32_t v) {
    if (m_state.Update(par, v))
        InvalidateAll();
}

void ChordView::SetSharpNames(bool sharps) {
    if (sharps == m_sharps)
        return;
    m_sharps = sharps;
    InvalidateAll();
}

void ChordView::SetColor(Color c) {
    m_color = c;
    InvalidateAll();
}

void ChordView::Paint(GraphicsContext& gc) {
    Pane::Paint(gc);
    if (!m_state.Shows())
        return;
    struct Piece {
        std::string text;
        Font* font;
        int32_t width = 0, height = 0, top = 0;
    };
    const bool flats = !m_sharps;
    const Chords::Spelling root = Chords::Spell(m_state.root, flats);
    std::vector<Piece> pieces;
    pieces.push_back({std::string(1, root.letter), m_large.Get()});
    pieces.push_back({root.accidental, m_small.Get()});
    pieces.push_back({Chords::TypeSuffix(m_state.type), m_small.Get()});
    if (m_state.bass >= 0) {
        const Chords::Spelling bass = Chords::Spell(m_state.bass, flats);
        pieces.push_back({std::string("/") + bass.letter, m_large.Get()});
        pieces.push_back({bass.accidental, m_small.Get()});
    }
    pieces.push_back({std::string(Chords::PositionNumeral(m_state.pos)) + (m_state.userChord ? "*" : ""),
                      m_small.Get()});
    int32_t total = 0;
    for (Piece& p : pieces) {
        if (p.text.empty())
            continue;
        const Rect m = gc.MeasureText(p.text.c_str(), *p.font, kLine);
        p.width = m.width;
        p.height = m.height;
        total += p.width;
    }
    // The row is centred on the root letter; the suffix stands on its
    // baseline, the other small pieces a little higher.
    const Rect r = LocalBounds();
    const int32_t letterHeight = pieces[0].height;
    const int32_t letterTop = (r.height - letterHeight) / 2;
    int32_t x = (r.width - total) / 2;
    const Color saved = gc.GetTextColor();
    gc.SetTextColor(m_color);
    for (size_t i = 0; i < pieces.size(); ++i) {
        Piece& p = pieces[i];
        if (p.text.empty())
            continue;
        if (p.font == m_large.Get())
            p.top = letterTop;
        else if (i == 2)
            p.top = letterTop + letterHeight - p.height;
        else
            p.top = letterTop - kRaise;
        gc.DrawText(p.text.c_str(), Rect{x, p.top, p.width, p.height}, kLine, *p.font);
        x += p.width;
    }
    gc.SetTextColor(saved);
}

} // namespace Corvell
