#include "AssertReport.h"

#include <cstdio>
#include <string_view>

#include "MsgBox.h"
#include "Utf8Text.h"

const char* FormatAssertReport(char (&buffer)[400], const char* expression, const char* source, int line)
{
    const int n = std::snprintf(buffer, sizeof buffer, "表达式失败< %s >\n文件：%s\n行：%d",
                                expression ? expression : "", source ? source : "", line);
    // A report cut at the buffer's end must not end inside a character.
    if (n >= static_cast<int>(sizeof buffer))
        buffer[host::Utf8PrefixLength(std::string_view(buffer, sizeof buffer - 1), sizeof buffer - 1)] = '\0';
    return buffer;
}

void ReportAssertFailure(const char* expression, const char* source, int line)
{
    char buffer[400];
    msg_box(FormatAssertReport(buffer, expression, source, line));
}
