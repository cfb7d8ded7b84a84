#include <gtest/gtest.h>

#include "CArray.h"
#include "CString.h"
#include "Utf8Text.h"

TEST(CString, SubstringsClampTheirCountsLikeMfc)
{
    const CString s("ABCDEF");
    EXPECT_EQ(s.Left(2), "AB");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(99), "ABCDEF");
    EXPECT_EQ(s.Right(2), "EF");
    EXPECT_EQ(s.Right(-3), "");
    EXPECT_EQ(s.Right(99), "ABCDEF");
    EXPECT_EQ(s.Mid(2), "CDEF");
    EXPECT_EQ(s.Mid(2, 2), "CD");
    EXPECT_EQ(s.Mid(-2, 3), "ABC");
    EXPECT_EQ(s.Mid(4, 99), "EF");
    EXPECT_EQ(s.Mid(6), "");
    EXPECT_EQ(s.Mid(3, -1), "");
}

TEST(CString, FindCountsBytesAndRefusesStartsOutsideTheText)
{
    const CString id("楼A-0-12");  // a three-byte character first
    EXPECT_EQ(id.Find("-0-", 1), 4);
    EXPECT_EQ(id.Find('-', 1), 4);
    EXPECT_EQ(id.Find('-', 5), 6);
    EXPECT_EQ(id.Find("x"), -1);
    EXPECT_EQ(id.Find("-", -1), -1);
    EXPECT_EQ(id.Find("-", 99), -1);
    EXPECT_EQ(id.ReverseFind('-'), 6);
    EXPECT_EQ(id.GetLength(), 9);
}

TEST(CString, FormatCompareAndAsciiOnlyCaseAndTrim)
{
    CString s;
    s.Format("%s-%d-%d", "A栋", 3, 12);
    EXPECT_EQ(s, "A栋-3-12");
    s.Format("%.2f", 24.4);
    EXPECT_EQ(s, "24.40");
    s.AppendFormat("（%.0f）", 3.0);
    EXPECT_EQ(s, "24.40（3）");

    CString t("  \t宋体 ");
    t.TrimLeft();
    EXPECT_EQ(t, "宋体 ");
    t.TrimRight();
    EXPECT_EQ(t, "宋体");

    CString y("y楼");
    y.MakeUpper();
    EXPECT_EQ(y, "Y楼");

    EXPECT_LT(CString("A").Compare("B"), 0);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_GT(CString("b").Compare("B"), 0);
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_TRUE(CString("A") < CString("B"));
    EXPECT_TRUE(CString().IsEmpty());
}

TEST(CString, BufferProtocolKeepsRawBytes)
{
    CString s;
    char* p = s.GetBuffer(8);
    std::snprintf(p, 9, "C12-3-7");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "C12-3-7");
    EXPECT_EQ(s.GetLength(), 7);
}

TEST(CArray, MfcMembersOnTopOfAVector)
{
    CArray<CString, CString> parts;
    EXPECT_EQ(parts.Add("a"), 0);
    EXPECT_EQ(parts.Add("b"), 1);
    parts.Add("c");
    parts.RemoveAt(1);
    ASSERT_EQ(parts.GetSize(), 2);
    EXPECT_EQ(parts[1], "c");
    parts.RemoveAt(1, 99);
    EXPECT_EQ(parts.GetCount(), 1);
    parts.RemoveAt(5);
    parts.InsertAt(0, "z");
    EXPECT_EQ(parts[0], "z");
    parts.SetSize(0);
    EXPECT_TRUE(parts.IsEmpty());
    parts.SetSize(-3);
    EXPECT_EQ(parts.GetSize(), 0);
}

TEST(BoundedCopy, CutsOnACharacterBoundaryAndAlwaysTerminates)
{
    char out[8];
    zo_strncpy(out, "abcdefghij", 7);
    EXPECT_STREQ(out, "abcdefg");
    zo_strncpy(out, "ab楼楼", 6);  // the second 楼 would need bytes 5..7
    EXPECT_STREQ(out, "ab楼");
    zo_strncpy(out, nullptr, 7);
    EXPECT_STREQ(out, "");
    zo_strncpy(out, "x", 0);
    EXPECT_STREQ(out, "");
}

TEST(BoundedCopy, Utf8Validation)
{
    EXPECT_TRUE(host::IsValidUtf8("建筑 abc"));
    EXPECT_FALSE(host::IsValidUtf8("\xBD\xA8\xD6\xFE"));  // GBK bytes of 建筑
    EXPECT_FALSE(host::IsValidUtf8("\xE5\xBB"));          // cut in a character
    EXPECT_FALSE(host::IsValidUtf8("\xC0\xAF"));          // overlong
}
