#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"
#include "widgets/text_label.h"
#include "world/draw_queue.h"
#include "world/pixels.h"

namespace {

class TextLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TTF_WasInit()) {
            ASSERT_EQ(TTF_Init(), 0);
        }
        font = OpenFont(InterfaceFontPath(), 24);
        FrameDrawQueue().Clear();
    }
    void TearDown() override {
        font.reset();
        FrameDrawQueue().Clear();
    }

    int Width(const std::string& s) const {
        int w = 0, h = 0;
        TTF_SizeText(font.get(), s.c_str(), &w, &h);
        return w;
    }
    int LineHeight() const { return TTF_FontHeight(font.get()); }

    // A label as the screens make one: everything set before the text.
    void Prepare(TextLabel& label, int box, bool wrap, bool centred = false) {
        label.setPosition(100, 50);
        label.setDepth(3);
        label.setBoxWidth(box);
        label.setWrap(wrap);
        label.setCentred(centred);
    }

    const DrawRequest& Drawn(TextLabel& label) {
        FrameDrawQueue().Clear();
        label.draw();
        EXPECT_EQ(FrameDrawQueue().Size(), 1u);
        return FrameDrawQueue().Requests().front();
    }

    test::WorkingDir inGame{QM_GAME_DIR};
    FontHandle font;
};

TEST_F(TextLabelTest, OneLineWithoutABoxIsNeverWrappedOrClipped) {
    TextLabel label;
    Prepare(label, -1, true);
    const std::string text = "A long caption that runs well past any box the screens use";
    label.setText(text);
    ASSERT_NE(label.getSurface(), nullptr);
    EXPECT_EQ(label.getSurface()->w, Width(text));
    EXPECT_EQ(label.getSurface()->h, LineHeight());
    const DrawRequest& r = Drawn(label);
    EXPECT_EQ(r.x, 100);
    EXPECT_EQ(r.y, 50);
    EXPECT_EQ(r.depth, 3);
    EXPECT_EQ(r.image.sourceRect.w, Width(text));
}

TEST_F(TextLabelTest, WrapCases) {
    // The interface font's Latin letters share one advance, so widths of equal-length
    // words are equal.
    struct Case {
        const char* name;
        std::string text;
        std::string box;  // the box is exactly as wide as this text
        std::string stored;
        int lines;
    };
    const Case cases[] = {
        {"fits: one line", "short words", "short words", "short words", 1},
        {"two lines", "aaa bbb ccc", "aaa bbb", "aaa bbb ccc", 2},
        {"exact-fit last line adds no empty line", "aaa bbb ccc ddd", "ccc ddd", "aaa bbb ccc ddd", 2},
        {"long word is hyphenated", "abcdefgh", "abcd-", "abcd- efgh", 2},
        {"hyphenated word after a short one", "xy abcdefghij", "abcd-", "xy abc- def- ghij", 4},
        {"double space keeps its own line", "aaa  bbb", "aaa", "aaa  bbb", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextLabel label;
        Prepare(label, Width(c.box), true);
        label.setText(c.text);
        EXPECT_EQ(label.getText(), c.stored);
        ASSERT_NE(label.getSurface(), nullptr);
        EXPECT_EQ(label.getSurface()->h, c.lines * LineHeight());
        if (c.lines > 1) {
            EXPECT_EQ(label.getSurface()->w, Width(c.box));
        }
    }
}

TEST_F(TextLabelTest, WrappedLinesAreCentredEachInTheBox) {
    TextLabel label;
    // Room for "aaa bbb" and a little more, never for "aaa bbb ccc", whatever the font's widths.
    const int box = Width("aaa bbb") + Width(" c");
    Prepare(label, box, true, true);
    label.setColour(SDL_Color{255, 255, 255, 0});
    label.setText("aaa bbb ccc");
    SDL_Surface* s = const_cast<SDL_Surface*>(label.getSurface());
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->h, 2 * LineHeight());
    // The inked columns of each line: the first keeps its breaking space, the second is "ccc".
    auto inked = [&](int line) {
        int first = s->w, last = -1;
        SDL_LockSurface(s);
        for (int row = line * LineHeight(); row < (line + 1) * LineHeight(); ++row)
            for (int column = 0; column < s->w; ++column) {
                Uint8 r, g, b, a;
                SDL_GetRGBA(GetPixel(s, column, row), s->format, &r, &g, &b, &a);
                if (a > 0) {
                    first = std::min(first, column);
                    last = std::max(last, column);
                }
            }
        SDL_UnlockSurface(s);
        return std::make_pair(first, last);
    };
    const int ccc = (box - Width("ccc")) / 2;
    auto [first, last] = inked(1);
    EXPECT_GE(first, ccc);
    EXPECT_LT(last, ccc + Width("ccc"));
    EXPECT_LE(first, ccc + Width("c"));
    EXPECT_GE(inked(0).first, (box - Width("aaa bbb ")) / 2);
}

TEST_F(TextLabelTest, ABoxNarrowerThanOneLetterStillEnds) {
    for (int box : {1, Width("a"), Width("a-") - 1}) {
        SCOPED_TRACE(box);
        TextLabel label;
        Prepare(label, box, true);
        label.setText("ab cdef");
        ASSERT_NE(label.getSurface(), nullptr);
        EXPECT_EQ(label.getSurface()->w, box);
        // Every letter ends up on a line of its own, behind its hyphen.
        EXPECT_EQ(label.getText(), "a- b c- d- e- f");
        EXPECT_EQ(label.getSurface()->h, 6 * LineHeight());
    }
    TextLabel none;
    Prepare(none, 0, true);
    none.setText("anything");
    EXPECT_EQ(none.getSurface(), nullptr);
    FrameDrawQueue().Clear();
    none.draw();
    EXPECT_EQ(FrameDrawQueue().Size(), 0u);
}

TEST_F(TextLabelTest, CentringAndClippingOfOneLine) {
    const std::string text = "CENTRE";
    const int w = Width(text);
    TextLabel narrow;
    Prepare(narrow, w + 41, false, true);
    narrow.setText(text);
    const DrawRequest& shifted = Drawn(narrow);
    EXPECT_EQ(shifted.x, 100 + 20);
    EXPECT_EQ(shifted.image.sourceRect.w, w);

    // Wider than its box: the middle shows, at the box's own left edge.
    TextLabel wide;
    Prepare(wide, w / 2, false, true);
    wide.setText(text);
    const DrawRequest& middle = Drawn(wide);
    EXPECT_EQ(middle.x, 100);
    EXPECT_EQ(middle.image.sourceRect.w, w / 2);
    const int from = (w - w / 2) / 2;
    SDL_Surface* full = const_cast<SDL_Surface*>(wide.getSurface());
    SDL_LockSurface(full);
    SDL_LockSurface(middle.image.surface.get());
    for (int row = 0; row < full->h; ++row)
        for (int column = 0; column < w / 2; ++column)
            ASSERT_EQ(GetPixel(middle.image.surface.get(), column, row), GetPixel(full, from + column, row));
    SDL_UnlockSurface(middle.image.surface.get());
    SDL_UnlockSurface(full);

    // Not centred: the left part shows.
    wide.setCentred(false);
    const DrawRequest& left = Drawn(wide);
    EXPECT_EQ(left.image.sourceRect.w, w / 2);
    EXPECT_EQ(left.image.surface->w, w);
}

TEST_F(TextLabelTest, RendersOnlyWhenTextOrColourChanges) {
    TextLabel label;
    Prepare(label, Width("abcd-"), true);
    label.setText("abcdefgh");
    EXPECT_EQ(label.getSurface()->h, 2 * LineHeight());
    // A new font shows only at the next render, which an unchanged text does not cause.
    label.setFont(InterfaceFontPath(), 12);
    label.setText("abcd- efgh");
    EXPECT_EQ(label.getSurface()->h, 2 * LineHeight());
    // The unhyphenated text differs from the stored one, so it renders, now on one line.
    label.setText("abcdefgh");
    EXPECT_EQ(label.getText(), "abcdefgh");
    EXPECT_LT(label.getSurface()->h, LineHeight());

    // The colour always renders again, and shows in the pixels.
    label.setColour(SDL_Color{250, 10, 10, 0});
    SDL_Surface* red = const_cast<SDL_Surface*>(label.getSurface());
    SDL_LockSurface(red);
    bool sawRed = false;
    for (int row = 0; row < red->h && !sawRed; ++row)
        for (int column = 0; column < red->w && !sawRed; ++column) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(GetPixel(red, column, row), red->format, &r, &g, &b, &a);
            sawRed = a > 0 && r == 250 && g == 10 && b == 10;
        }
    SDL_UnlockSurface(red);
    EXPECT_TRUE(sawRed);

    label.setText("");
    EXPECT_EQ(label.getSurface(), nullptr);
}

// The wrapping as it was first written, measuring shrinking pieces one letter at a time:
// slow on long text, but it defines the lines ordinary text must keep.
std::pair<std::string, std::vector<std::string>> ReferenceWrap(std::string text, int box, TTF_Font* font) {
    auto measure = [&](const std::string& s) {
        int w = 0, h = 0;
        return s.empty() || TTF_SizeText(font, s.c_str(), &w, &h) != 0 ? 0 : w;
    };
    std::size_t pos = 0;
    while (pos != text.size()) {
        std::size_t next = text.find(' ', pos + 1);
        if (next == std::string::npos)
            next = text.size();
        std::string word = text.substr(pos, next - pos);
        word.erase(std::remove(word.begin(), word.end(), ' '), word.end());
        if (measure(word) > box) {
            const std::size_t shortest = text.find_first_not_of(' ', pos) + 1;
            std::size_t cut = next;
            while (cut > shortest) {
                --cut;
                if (measure(text.substr(pos, cut - pos) + "-") <= box)
                    break;
            }
            if (cut < next) {
                text = text.substr(0, cut) + "- " + text.substr(cut);
                next = cut;
            }
        }
        pos = next;
    }
    std::vector<std::string> lines;
    std::string rest = text;
    while (!rest.empty()) {
        std::size_t cut = rest.size();
        int width = measure(rest);
        while (width > box) {
            std::size_t space = cut == 0 ? std::string::npos : rest.rfind(' ', cut - 1);
            if (space == std::string::npos) {
                space = rest.find(' ');
                cut = space == std::string::npos ? rest.size() : space;
                break;
            }
            cut = space;
            width = measure(rest.substr(0, cut));
        }
        if (cut == rest.size())
            cut = rest.size() - 1;
        lines.push_back(rest.substr(0, cut + 1));
        rest = rest.substr(cut + 1);
    }
    return {text, lines};
}

// True when every row of `line`'s picture is the band of `box` at `top`, pixel for pixel.
bool BandShows(const SDL_Surface* box, int top, const SDL_Surface* line) {
    const int width = std::min(line->w, box->w);
    for (int y = 0; y < line->h && top + y < box->h; ++y)
        for (int x = 0; x < width; ++x) {
            Uint8 r1, g1, b1, a1, r2, g2, b2, a2;
            SDL_GetRGBA(GetPixel(box, x, top + y), box->format, &r1, &g1, &b1, &a1);
            SDL_GetRGBA(GetPixel(line, x, y), line->format, &r2, &g2, &b2, &a2);
            if (a1 != a2 || (a1 != 0 && (r1 != r2 || g1 != g2 || b1 != b2)))
                return false;
        }
    return true;
}

TEST_F(TextLabelTest, WrappedDialogTextKeepsTheLinesItAlwaysHad) {
    const std::string texts[] = {
        "Down, left, down, right, up, up... Those are my evening exercises. Who taught you those?",
        "Hmph. Then you know the last two letters: M and K. Mere Keeper. It was on the door before it was on me.",
        "They do. They open inward, and you are standing in the keep. The vines heard you, though.",
        "  Two  spaces lead, two  part words, and one ends it ",
        "A word like Unquillmerelikelihoodwise hyphenates, and so does Aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.",
    };
    for (int box : {459, 120, 20, 1}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::to_string(box) + ": " + text);
            const auto [hyphenated, lines] = ReferenceWrap(text, box, font.get());
            TextLabel label;
            Prepare(label, box, true);
            label.setText(text);
            EXPECT_EQ(label.getText(), hyphenated);
            const SDL_Surface* surface = label.getSurface();
            ASSERT_NE(surface, nullptr);
            ASSERT_EQ(surface->h, static_cast<int>(lines.size()) * LineHeight());
            for (std::size_t i = 0; i < lines.size(); ++i) {
                TextLabel one;
                one.setText(lines[i]);
                ASSERT_NE(one.getSurface(), nullptr);
                EXPECT_TRUE(BandShows(surface, static_cast<int>(i) * LineHeight(), one.getSurface()))
                    << "line " << i << ": \"" << lines[i] << "\"";
            }
        }
    }
}

}  // namespace

namespace {

// Without its font the game stops at the first screen with text, through the error report.
TEST(InterfaceFontProgram, AMissingFontIsAFatalError) {
    test::ScratchDir game;
    test::CopyGameFolder(game.Path());
    std::filesystem::remove(game / "GUI" / "Qhytsdakx.ttf");
    test::WriteFile(game / "skip-intro.txt", "2 key 27\n");
    test::RunResult run = test::RunGameBinary(
        {"--data", game.Path().string(), "--script", (game / "skip-intro.txt").string(), "--frames", "300"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("ERROR: Failed to open font GUI/Qhytsdakx.ttf!"), std::string::npos) << run.output;
}

}  // namespace
