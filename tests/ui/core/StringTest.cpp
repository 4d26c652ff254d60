#include "ui/core/String.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

namespace Corvell {
namespace {

StringData* EmptyBuffer() { return StringData::Empty(); }

TEST(String, EveryEmptyStringSharesTheStaticBuffer) {
    const char* none = nullptr;
    String a;
    String b(none);
    String c("");
    String d(a);
    String e = String("abcdef").Mid(6);
    String f("xyz");
    f.Empty();
    String g("abc");
    g = "";
    for (const String* s : {&a, &b, &c, &d, &e, &f, &g}) {
        EXPECT_EQ(EmptyBuffer(), s->Data());
        EXPECT_EQ(0, s->GetLength());
        EXPECT_STREQ("", s->GetString());
    }
    EXPECT_EQ(-1, EmptyBuffer()->refs.load());
    EXPECT_FALSE(EmptyBuffer()->IsHeap());
}

TEST(String, CopiesShareUntilOneChanges) {
    String a("hello");
    String b(a);
    EXPECT_EQ(a.Data(), b.Data());
    EXPECT_EQ(2, a.Data()->refs.load());
    b += "!";
    EXPECT_STREQ("hello", a.GetString());
    EXPECT_STREQ("hello!", b.GetString());
    EXPECT_EQ(1, a.Data()->refs.load());
    EXPECT_EQ(1, b.Data()->refs.load());

    String c;
    c = a;
    EXPECT_EQ(a.Data(), c.Data());
    c = c; // self-assignment changes nothing
    EXPECT_EQ(2, a.Data()->refs.load());
}

// Every in-place change on a copy leaves the other sharer as it was.
TEST(String, ChangingASharedCopyLeavesTheOtherIntact) {
    const std::vector<std::pair<const char*, std::function<void(String&)>>> changes = {
        {"append", [](String& s) { s.Append("xyz", 3); }},
        {"append char", [](String& s) { s += 'q'; }},
        {"format", [](String& s) { s.Format("%d", 42); }},
        {"buffer", [](String& s) {
             char* p = s.GetBuffer(3);
             p[0] = 'Z';
             s.ReleaseBuffer();
         }},
        {"insert", [](String& s) { s.Insert(0, '('); }},
        {"empty", [](String& s) { s.Empty(); }},
        {"assign chars", [](String& s) { s = "other"; }},
    };
    for (const auto& [name, change] : changes) {
        String original("shared text");
        String copy(original);
        change(copy);
        EXPECT_STREQ("shared text", original.GetString()) << name;
        EXPECT_EQ(11, original.GetLength()) << name;
        EXPECT_NE(original.Data(), copy.Data()) << name;
    }
}

TEST(String, GrowthIsExactSize) {
    String s("ab");
    s += "cde";
    EXPECT_EQ(5, s.Data()->capacity);
    s += 'f';
    EXPECT_EQ(6, s.Data()->capacity);
    String joined = String("12") + "345";
    EXPECT_EQ(5, joined.Data()->capacity);
    EXPECT_EQ(1, joined.Data()->refs.load());
}

TEST(String, AppendingItselfAndAssigningFromItsOwnText) {
    String s("abc");
    s += s;
    EXPECT_STREQ("abcabc", s.GetString());
    s.GetBuffer(20); // room to do it in place as well
    s.ReleaseBuffer();
    s += s;
    EXPECT_STREQ("abcabcabcabc", s.GetString());
    s = s.GetString() + 3;
    EXPECT_STREQ("abcabcabc", s.GetString());
    String t("xyz");
    t = t.GetString() + 1; // reallocates: the source must outlive the copy
    EXPECT_STREQ("yz", t.GetString());
}

TEST(String, AppendStopsAtNulAndIgnoresNonPositiveCounts) {
    String s("a");
    s.Append("bc\0de", 5);
    EXPECT_STREQ("abc", s.GetString());
    EXPECT_EQ(3, s.GetLength());
    s.Append("zz", -1);
    s.Append(nullptr, 4);
    EXPECT_STREQ("abc", s.GetString());
}

TEST(String, ConcatenationForms) {
    const String a("ab");
    EXPECT_STREQ("abcd", (a + String("cd")).GetString());
    EXPECT_STREQ("abcd", (a + "cd").GetString());
    EXPECT_STREQ("cdab", ("cd" + a).GetString());
    EXPECT_STREQ("abx", (a + 'x').GetString());
    const char* none = nullptr;
    EXPECT_STREQ("ab", (a + none).GetString());
    EXPECT_TRUE(a == "ab");
    EXPECT_TRUE(a != "abc");
    EXPECT_TRUE(String("ab") == a);
}

struct SubCase {
    const char* text;
    char op; // M = Mid(start, count), m = Mid(start), L = Left, R = Right
    int a;
    int b;
    const char* want;
};

TEST(String, SubstringsClamp) {
    const SubCase cases[] = {
        {"abcdef", 'M', -3, 2, "ab"},       {"abcdef", 'M', 4, 10, "ef"},
        {"abcdef", 'M', 2, -1, ""},         {"abcdef", 'M', 10, 2, ""},
        {"abcdef", 'M', 1, INT_MAX, "bcdef"}, {"abcdef", 'M', INT_MIN, INT_MAX, "abcdef"},
        {"abcdef", 'm', 3, 0, "def"},       {"abcdef", 'm', -7, 0, "abcdef"},
        {"abcdef", 'm', 6, 0, ""},          {"abc", 'L', 0, 0, ""},
        {"abc", 'L', 2, 0, "ab"},           {"abc", 'L', -1, 0, ""},
        {"abc", 'L', 99, 0, "abc"},         {"abc", 'R', 10, 0, "abc"},
        {"abc", 'R', 1, 0, "c"},            {"abc", 'R', INT_MIN, 0, ""},
    };
    for (const SubCase& c : cases) {
        const String s(c.text);
        String r;
        switch (c.op) {
        case 'M': r = s.Mid(c.a, c.b); break;
        case 'm': r = s.Mid(c.a); break;
        case 'L': r = s.Left(c.a); break;
        default: r = s.Right(c.a); break;
        }
        EXPECT_STREQ(c.want, r.GetString()) << c.text << " " << c.op << " " << c.a << " " << c.b;
        EXPECT_EQ(static_cast<int>(std::strlen(c.want)), r.GetLength());
        if (r.GetLength() == s.GetLength()) {
            EXPECT_EQ(s.Data(), r.Data()) << "a whole-string result shares the buffer";
        }
        if (r.IsEmpty()) {
            EXPECT_EQ(EmptyBuffer(), r.Data());
        }
    }
}

TEST(String, FormatMatchesPrintf) {
    String s;
    s.Format("%d|%5.2f|%-4s|%x|%c|%%", -12, 3.14159, "ab", 255u, 'Z');
    EXPECT_STREQ("-12| 3.14|ab  |ff|Z|%", s.GetString());

    s.Format("%I64d %I64u %I64x", static_cast<long long>(INT64_MIN), static_cast<unsigned long long>(UINT64_MAX),
             0x1234567890abcdefULL);
    EXPECT_STREQ("-9223372036854775808 18446744073709551615 1234567890abcdef", s.GetString());

    s.Format("%08I64d|%I32d|%Iu", 42LL, 7, static_cast<size_t>(9));
    EXPECT_STREQ("00000042|7|9", s.GetString());

    const std::string big(10000, 'x');
    s.Format("<%s>%3000d", big.c_str(), 1);
    EXPECT_EQ(10002 + 3000, s.GetLength());
    EXPECT_EQ('1', s.GetString()[s.GetLength() - 1]);

    const char* volatile none = nullptr;
    char want[32];
    std::snprintf(want, sizeof want, "[%s]", static_cast<const char*>(none));
    s.Format("[%s]", static_cast<const char*>(none));
    EXPECT_STREQ(want, s.GetString());

    s.Format("%s", "");
    EXPECT_EQ(EmptyBuffer(), s.Data());
}

// The destination's own text as an argument, both when the buffer could be
// reused in place and when it is shared.
TEST(String, FormatMayReadItsOwnText) {
    String s("abc");
    s.GetBuffer(64);
    s.ReleaseBuffer();
    s.Format("%s-%s-%s", s.GetString(), s.GetString(), s.GetString());
    EXPECT_STREQ("abc-abc-abc", s.GetString());

    String t("xyz");
    String other(t);
    t.Format("(%s)", t.GetString());
    EXPECT_STREQ("(xyz)", t.GetString());
    EXPECT_STREQ("xyz", other.GetString());
}

TEST(String, GetBufferAndReleaseBuffer) {
    String s;
    char* p = s.GetBuffer(10);
    EXPECT_NE(EmptyBuffer(), s.Data()) << "never writes into the shared empty buffer";
    EXPECT_GE(s.Data()->capacity, 10);
    std::strcpy(p, "written");
    s.ReleaseBuffer();
    EXPECT_STREQ("written", s.GetString());
    EXPECT_EQ(7, s.GetLength());

    p = s.GetBuffer(0); // at least the current length
    EXPECT_GE(s.Data()->capacity, 7);
    s.ReleaseBuffer(1000); // bounded by the capacity
    EXPECT_LE(s.GetLength(), s.Data()->capacity);
    EXPECT_EQ('\0', s.GetString()[s.GetLength()]);

    String e;
    e.GetBuffer(0)[0] = '\0';
    e.ReleaseBuffer();
    EXPECT_EQ(EmptyBuffer(), e.Data());

    String f("no buffer taken");
    f.ReleaseBuffer(3);
    EXPECT_STREQ("no ", f.GetString());
}

TEST(String, InsertClampsTheIndex) {
    String s("mid");
    s.Insert(0, '(');
    s += ')';
    EXPECT_STREQ("(mid)", s.GetString());
    s.Insert(-4, '<');
    s.Insert(1000, '>');
    s.Insert(3, '_');
    EXPECT_STREQ("<(m_id)>", s.GetString());
    EXPECT_EQ(8, s.GetLength());
    s.Insert(2, '\0');
    EXPECT_EQ(8, s.GetLength());
    String e;
    e.Insert(5, 'x');
    EXPECT_STREQ("x", e.GetString());
}

TEST(String, SuffixesIgnoreCase) {
    struct Case {
        const char* text;
        const char* with;
        const char* without;
    } cases[] = {
        {"song", "song.mid", "song"},
        {"song.mid", "song.mid", "song"},
        {"SONG.MID", "SONG.MID", "SONG"},
        {"song.Mid.mid", "song.Mid.mid", "song.Mid"},
        {"mid", "mid.mid", "mid"},
        {"", ".mid", ""},
        {".mid", ".mid", ""},
    };
    for (const Case& c : cases) {
        const String s(c.text);
        EXPECT_STREQ(c.with, s.WithSuffix(".mid").GetString()) << c.text;
        EXPECT_STREQ(c.without, s.WithoutSuffix(".MiD").GetString()) << c.text;
    }
    const String unchanged("song.mid");
    EXPECT_EQ(unchanged.Data(), unchanged.WithSuffix(".MID").Data());
}

TEST(String, MovingLeavesTheSourceEmpty) {
    String a("moved");
    StringData* d = a.Data();
    String b(std::move(a));
    EXPECT_EQ(d, b.Data());
    EXPECT_EQ(EmptyBuffer(), a.Data()); // NOLINT(bugprone-use-after-move)
    String c;
    c = std::move(b);
    EXPECT_EQ(d, c.Data());
    EXPECT_EQ(1, c.Data()->refs.load());
}

} // namespace
} // namespace Corvell
