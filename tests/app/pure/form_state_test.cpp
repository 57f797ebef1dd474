// The saved-control-value rules and the list-file reader, without windows.
#include "app/pure/form_state.h"
#include "app/pure/list_file.h"

#include <gtest/gtest.h>

using app::Restore;

TEST(FormStateText, LineBreaksAreKeptOnOneLine) {
    EXPECT_EQ(app::encodeText("one\r\ntwo\r\n\r\nthree"), "one~|~two~|~~|~three");
    EXPECT_EQ(app::decodeText("one~|~two~|~~|~three"), "one\r\ntwo\r\n\r\nthree");
    // A lone CR or LF would break the file's lines: it is kept as a line
    // break too and comes back as CR LF.
    EXPECT_EQ(app::encodeText("a\nb\rc\r"), "a~|~b~|~c~|~");
    EXPECT_EQ(app::decodeText(app::encodeText("a\nb")), "a\r\nb");
    EXPECT_EQ(app::encodeText("http://host/path/"), "http://host/path/");
    EXPECT_EQ(app::decodeText("~|"), "~|");
    EXPECT_EQ(app::decodeText("~~|~|"), "~\r\n|");
}

TEST(FormStateText, EveryStorableTextReadsBackAndTheRestAreNamed) {
    // Every text of up to seven characters over the ones that matter: it
    // reads back exactly when canStoreText says so.
    const char alphabet[] = {'~', '|', '\r', '\n', 'a'};
    std::string text;
    auto normal = [](const std::string& t) {
        std::string out;
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '\r' || t[i] == '\n') {
                i += t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n';
                out += "\r\n";
            } else {
                out += t[i];
            }
        }
        return out;
    };
    int unstorable = 0;
    for (int length = 0; length <= 7; ++length) {
        int combos = 1;
        for (int k = 0; k < length; ++k)
            combos *= 5;
        for (int n = 0; n < combos; ++n) {
            text.clear();
            for (int k = 0, m = n; k < length; ++k, m /= 5)
                text += alphabet[m % 5];
            const bool back = app::decodeText(app::encodeText(text)) == normal(text);
            ASSERT_EQ(back, app::canStoreText(text)) << testing::PrintToString(text);
            unstorable += !back;
        }
    }
    EXPECT_GT(unstorable, 0);
    EXPECT_FALSE(app::canStoreText("a~|\n"));
    EXPECT_FALSE(app::canStoreText("x~|~y"));
    EXPECT_TRUE(app::canStoreText("a\n|~"));
}

TEST(FormStateKey, NameAndArrayIndex) {
    EXPECT_EQ(app::controlKey("txtAppsSearch"), "txtAppsSearch");
    EXPECT_EQ(app::controlKey("Option1", 0), "Option1(0)");
    EXPECT_EQ(app::controlKey("Option1", 12), "Option1(12)");
}

TEST(FormStateIndex, AppliedSkippedOrStopping) {
    auto is = [](app::RestoreStep s, Restore a, int v = 0) {
        return s.action == a && (a != Restore::Apply || s.value == v);
    };
    EXPECT_TRUE(is(app::restoreIndex("3", 6), Restore::Apply, 3));
    EXPECT_TRUE(is(app::restoreIndex("-1", 6), Restore::Apply, -1)); // clears the selection
    EXPECT_TRUE(is(app::restoreIndex("2.5", 6), Restore::Apply, 2)); // halves to even
    // Too large for the list: ignored, the restore goes on.
    EXPECT_TRUE(is(app::restoreIndex("6", 6), Restore::Skip));
    EXPECT_TRUE(is(app::restoreIndex("99", 10), Restore::Skip));
    // Cannot be applied at all: the restore ends.
    EXPECT_TRUE(is(app::restoreIndex("-2", 6), Restore::Stop));
    EXPECT_TRUE(is(app::restoreIndex("Default", 6), Restore::Stop));
    EXPECT_TRUE(is(app::restoreIndex("40000", 6), Restore::Stop));
}

TEST(FormStateCheck, WholeNumberPartOfZeroOneOrTwo) {
    EXPECT_EQ(app::restoreCheck("1").action, Restore::Apply);
    EXPECT_EQ(app::restoreCheck("1").value, 1);
    EXPECT_EQ(app::restoreCheck("0").value, 0);
    EXPECT_EQ(app::restoreCheck("1.9").value, 1);
    EXPECT_EQ(app::restoreCheck("0.7").value, 0);
    EXPECT_EQ(app::restoreCheck("2").action, Restore::Apply) << "grey";
    EXPECT_EQ(app::restoreCheck("2.5").value, 2);
    EXPECT_EQ(app::restoreCheck("3").action, Restore::Stop);
    EXPECT_EQ(app::restoreCheck("-1").action, Restore::Stop);
    EXPECT_EQ(app::restoreCheck("True").action, Restore::Stop);
}

TEST(ListFile, EveryLineIsAnItem) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(app::listFileLines("FLApps.def\r\nFLSlim.def\r\n"),
              (Lines{"FLApps.def", "FLSlim.def"}));
    // Empty lines are items; a last line without terminator is read.
    EXPECT_EQ(app::listFileLines("a\r\n\r\n  b \r\nlast"), (Lines{"a", "", "  b ", "last"}));
    EXPECT_EQ(app::listFileLines("\r\n"), (Lines{""}));
    EXPECT_TRUE(app::listFileLines("").empty());
    // Lines ended by a lone LF or CR (a file saved by another editor).
    EXPECT_EQ(app::listFileLines("x\ny\rz"), (Lines{"x", "y", "z"}));
    EXPECT_EQ(app::listFileLines("x\n\r\ny"), (Lines{"x", "", "y"}));
}
