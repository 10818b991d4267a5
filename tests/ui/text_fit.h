// The text-fit check: the real fonts and texts of the built data, a watcher on the text and frame
// calls, and the rules a drawn frame must keep: every text inside the box it stands in (panel, button,
// balloon, side panel) or else on the screen, no text crowding a button it is not on, no balloon over
// other text, and no cut word (every word drawn is a word of the texts, a number or a player's name).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/pictures_built_data.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/layout_probe.h"
#include "engine/text_table.h"

namespace textfit {

struct DrawnText {
    std::string str;
    float size, left, top, right, bottom;
};
struct Box {
    int kind;
    float left, top, right, bottom;
};

inline std::vector<DrawnText> texts;
inline std::vector<Box> boxes;

inline void watch() {
    texts.clear();
    boxes.clear();
    layoutProbe.text = [](const char* s, float size, float l, float t, float r, float b) {
        texts.push_back({s, size, l, t, r, b});
    };
    layoutProbe.box = [](int kind, float l, float t, float r, float b) {
        boxes.push_back({kind, l, t, r, b});
    };
}

inline void unwatch() {
    layoutProbe = LayoutProbe{};
}

// Every language the game speaks: English and one per translators' catalogue.
inline std::vector<std::string> languages() {
    std::vector<std::string> out;
    std::error_code error;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(PC_SOURCE_DIR) / "po", error))
        if (e.path().extension() == ".po") out.push_back(e.path().stem().string());
    std::sort(out.begin(), out.end());
    out.insert(out.begin(), "en");
    return out;
}

inline std::string languageName(const testing::TestParamInfo<std::string>& info) {
    return info.param;
}

// Registers the built archives and loads the language's texts and both fonts the way the start-up
// does; false when there is no built Data folder.
inline bool loadRealTextsAndFonts(const std::string& language = "en") {
    std::filesystem::path dir = builtdata::folder();
    if (dir.empty()) return false;
    for (const char* name : {"texts.dat", "targa.dat", "jpeg.dat"}) loadArchive((dir / name).c_str());
    freeTextTable();
    for (const char* table : {"2strings.txt", "2tips.txt", "2menutext.txt"}) {
        std::filesystem::path path =
            language == "en" ? std::filesystem::path(table) : dir / "lang" / language / table;
        EXPECT_TRUE(language == "en" || std::filesystem::exists(path)) << path;
        loadTextTable(path.c_str());
    }
    resetText();
    loadFont("font", 1.0f, 0.9f);
    loadFont("font2", 1.2f, 0.75f);
    selectFont(1);
    return text.fonts.size() == 2;
}

// The words of a text without the punctuation around them ("name!" is "name"; a lone "|" is none).
inline std::set<std::string> words(const std::string& s) {
    std::set<std::string> out;
    std::string w;
    auto keep = [&] {
        auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
        auto first = std::find_if(w.begin(), w.end(), alnum);
        auto last = std::find_if(w.rbegin(), w.rend(), alnum).base();
        if (first < last) out.insert(std::string(first, last));
        w.clear();
    };
    for (char c : s + " ") {
        if (std::isspace(static_cast<unsigned char>(c)))
            keep();
        else
            w += c;
    }
    return out;
}

// Every word of every text of the tables, and the extra words a frame may show (player names).
inline std::set<std::string> dictionary(const std::vector<std::string>& extra = {}) {
    std::set<std::string> all;
    for (int i = 0; i < textTable.entries.size(); ++i) {
        std::set<std::string> w = words(textTable.entries[i].text);
        all.insert(w.begin(), w.end());
    }
    for (const std::string& e : extra) {
        std::set<std::string> w = words(e);
        all.insert(w.begin(), w.end());
    }
    return all;
}

// Words that hold a number or a format come from values: they need not be table words.
inline bool fromValue(const std::string& w) {
    return std::any_of(w.begin(), w.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
           w.find('%') != std::string::npos;
}

inline bool inside(const DrawnText& t, const Box& b) {
    float cx = (t.left + t.right) / 2, cy = (t.top + t.bottom) / 2;
    return b.left <= cx && cx <= b.right && b.bottom <= cy && cy <= b.top;
}

inline bool overlaps(float l1, float t1, float r1, float b1, const Box& b) {
    return l1 < b.right && b.left < r1 && b1 < b.top && b.bottom < t1;
}

// How far in from a box's edges its text must stay: the frame's visible border, a button's round caps.
inline Box innerArea(const Box& b) {
    float height = b.top - b.bottom;
    switch (b.kind) {
    case kLayoutPanel:
        return {b.kind, b.left + 20, b.top - 14, b.right - 20, b.bottom + 14};
    case kLayoutButton:
        return {b.kind, b.left + 0.3f * height, b.top, b.right - 0.3f * height, b.bottom};
    case kLayoutBalloon:
        return {b.kind, b.left + 8, b.top - 4, b.right - 8, b.bottom + 4};
    default:
        return {b.kind, b.left + 4, b.top, b.right - 4, b.bottom};
    }
}

inline std::string describe(const DrawnText& t) {
    std::ostringstream out;
    out << '"' << t.str << "\" size " << t.size << " at [" << t.left << ", " << t.right << "] x [" << t.bottom
        << ", " << t.top << "]";
    return out.str();
}

// Two texts of one frame keep apart: on one line a gap of a third of the smaller size between them.
inline void checkTextsApart(const std::string& what) {
    for (size_t i = 0; i < texts.size(); ++i) {
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const DrawnText &a = texts[i], &b = texts[j];
            float gap = std::min(a.size, b.size) / 3;
            bool apart = a.right + gap <= b.left || b.right + gap <= a.left || a.top <= b.bottom + 0.01f ||
                         b.top <= a.bottom + 0.01f;
            EXPECT_TRUE(apart) << what << ": " << describe(a) << " and " << describe(b) << " touch";
        }
    }
}

// Checks the frame drawn since watch(); what names the frame in the failure messages.
inline void checkFrame(const std::string& what, const std::vector<std::string>& extraWords = {}) {
    std::set<std::string> known = dictionary(extraWords);
    checkTextsApart(what);
    constexpr float kButtonGap = 12; // text beside a button keeps clear of its frame
    for (const DrawnText& t : texts) {
        for (const std::string& w : words(t.str))
            EXPECT_TRUE(known.count(w) || fromValue(w))
                << what << ": a cut word \"" << w << "\" in " << describe(t);
        const Box* home = nullptr;
        for (const Box& b : boxes) {
            if (!inside(t, b)) continue;
            float area = (b.right - b.left) * (b.top - b.bottom);
            if (!home || area < (home->right - home->left) * (home->top - home->bottom)) home = &b;
        }
        Box area = home ? innerArea(*home) : Box{-1, -398, 298, 398, -298};
        EXPECT_TRUE(t.left >= area.left && t.right <= area.right)
            << what << ": " << describe(t) << " runs past the sides of its box [" << area.left << ", "
            << area.right << "]";
        EXPECT_TRUE(t.bottom >= area.bottom - 0.01f && t.top <= area.top + 0.01f)
            << what << ": " << describe(t) << " runs past the top or bottom of its box [" << area.bottom
            << ", " << area.top << "]";
        for (const Box& b : boxes) {
            if (&b == home) continue;
            if (b.kind == kLayoutButton && (!home || home->kind != kLayoutButton)) {
                EXPECT_FALSE(overlaps(t.left - kButtonGap, t.top + kButtonGap, t.right + kButtonGap,
                                      t.bottom - kButtonGap, b))
                    << what << ": " << describe(t) << " crowds a button";
            }
            bool inBalloon = home && home->kind == kLayoutBalloon;
            if (b.kind == kLayoutBalloon && !inBalloon && !(home && home->kind == kLayoutButton)) {
                EXPECT_FALSE(overlaps(t.left, t.top, t.right, t.bottom, b))
                    << what << ": a balloon covers " << describe(t);
            }
        }
    }
}

} // namespace textfit
