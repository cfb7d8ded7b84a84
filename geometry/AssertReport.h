#pragma once
// The module's assertion report. A failed internal check shows
//   表达式失败< EXPRESSION >
//   文件：SOURCE
//   行：LINE
// (at most 400 bytes) through the host's message box; the caller then goes on with the
// values it has, or returns the safest result its own caller already handles.

// Formats the report of a failed check (exposed for tests).
const char* FormatAssertReport(char (&buffer)[400], const char* expression, const char* source, int line);

// Shows the report of a failed check.
void ReportAssertFailure(const char* expression, const char* source, int line);

// ORV_ASSERT(expr, "Source"): evaluates expr and reports it when false; the value of the
// whole expression is expr's truth, so a caller can bail out: if (!ORV_ASSERT(...)) return 0;
#define ORV_ASSERT(expr, source) \
    ((expr) ? true : (ReportAssertFailure(#expr, (source), __LINE__), false))
