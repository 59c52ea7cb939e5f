#include "download/FormatByteSize.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct TSizeCase {
    std::uint32_t count;
    const wchar_t* point;
    const wchar_t* comma;
};

class FormatByteSizeTest : public ::testing::TestWithParam<TSizeCase> {};

TEST_P(FormatByteSizeTest, GivesTheSizeLineText)
{
    const TSizeCase& size = GetParam();
    EXPECT_EQ(download::FormatByteSize(size.count, L"."), size.point);
    EXPECT_EQ(download::FormatByteSize(size.count, L","), size.comma);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatByteSizeTest,
                         ::testing::Values(
                             // bytes, singular only for 0 and 1
                             TSizeCase{0, L"0 byte", L"0 byte"}, TSizeCase{1, L"1 byte", L"1 byte"},
                             TSizeCase{2, L"2 bytes", L"2 bytes"}, TSizeCase{999, L"999 bytes", L"999 bytes"},
                             // KB from 1000 on, halves to the even neighbour
                             TSizeCase{1000, L"1 KB", L"1 KB"}, TSizeCase{2560, L"2 KB", L"2 KB"},
                             TSizeCase{3584, L"4 KB", L"4 KB"}, TSizeCase{1'000'000, L"977 KB", L"977 KB"},
                             // MB above 1,000,000, two decimals, halves away from zero
                             TSizeCase{1'000'001, L"0.95 MB", L"0,95 MB"}, TSizeCase{1'048'576, L"1.00 MB", L"1,00 MB"},
                             TSizeCase{1'179'648, L"1.13 MB", L"1,13 MB"},
                             // no sign trouble beyond 2^31
                             TSizeCase{2'147'483'648u, L"2048.00 MB", L"2048,00 MB"},
                             TSizeCase{4'294'967'295u, L"4096.00 MB", L"4096,00 MB"}));

TEST(FormatByteSize, UsesTheUsersDecimalSeparator)
{
    wchar_t separator[8] = {};
    ASSERT_GT(::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 0);
    EXPECT_EQ(download::FormatByteSize(1'048'576), std::wstring(L"1") + separator + L"00 MB");
}

} // namespace
