// CTools utilities: string checks and splitting, clock stamps, the dialog frame, rounding,
// the distance pick, the transient path display, and the point and segment metrics.
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "CommandLine.h"
#include "DeviceContext.h"
#include "Input.h"
#include "Tools.h"
#include "View.h"
#include "decReturnCode.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Point input of the distance pick: object snaps and rubber band as the host shows them.
constexpr std::uint32_t kPickPointFlags = 57825;

// Longest point run ShowPath puts on the screen.
constexpr std::size_t kShowPathLimit = 150000;

// Segments whose directions differ by less than about one degree (or by a half turn less
// that much) count as parallel.
constexpr double kParallelAngle = 0.0175;
constexpr double kAntiParallelAngle = 3.1241;

std::tm LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// Where two segments meet: the point on the second segment and its position along it.
struct Crossing {
    GePoint3d point;
    double t = 0.0;
};

// Parallel segments meet only end to end: q1 first, then q2 (a contact is strictly
// closer than tol).
bool EndContact(const GePoint3d& p1, const GePoint3d& p2, const GePoint3d& q1, const GePoint3d& q2, double tol,
                Crossing& out)
{
    if (q1.DistanceTo(p1) < tol || q1.DistanceTo(p2) < tol) {
        out = {q1, 0.0};
        return true;
    }
    if (q2.DistanceTo(p1) < tol || q2.DistanceTo(p2) < tol) {
        out = {q2, 1.0};
        return true;
    }
    return false;
}

// The crossing test of both forms of GetIntersectPWithTwoLineSeg. The two forms differ
// only in the cross-product length below which the directions count as parallel: the
// point form takes 1e-6, the parameter form exactly 0.
bool IntersectSegments(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, double tol, bool pointForm,
                       Crossing& out)
{
    if (tol < 0.0)
        tol = 1e-6;
    GeVector3d d1 = p2 - p1;
    GeVector3d d2 = q2 - q1;
    d1.Normalize(0.001);
    d2.Normalize(0.001);
    const double angle = d1.AngleTo(d2);
    if (angle < kParallelAngle || angle > kAntiParallelAngle)
        return EndContact(p1, p2, q1, q2, tol, out);

    GeVector3d n = d1.CrossProduct(d2);
    const double crossLength = n.Length();
    if (pointForm ? crossLength < 1e-6 : crossLength == 0.0)
        return EndContact(p1, p2, q1, q2, tol, out);
    n.Normalize(0.001);

    p1 -= d1 * tol;
    p2 += d1 * tol;
    q1 -= d2 * tol;
    q2 += d2 * tol;
    const GeVector3d p = p2 - p1;
    const GeVector3d q = q2 - q1;
    const double a = (q1 - p1).CrossProduct(p).DotProduct(n);
    const double b = (q2 - p1).CrossProduct(p).DotProduct(n);
    const double c = (p1 - q1).CrossProduct(q).DotProduct(n);
    const double d = (p2 - q1).CrossProduct(q).DotProduct(n);
    if (a * b > 0.0 || c * d > 0.0)
        return false;
    const double t = a / (a - b);
    out = {q1 * (1.0 - t) + q2 * t, t};
    return true;
}

}  // namespace

int CTools::IsStringANumber(CString text)
{
    const int length = text.GetLength();
    if (length == 0)
        return 0;
    const char first = text[0];
    if (!IsDigit(first) && first != '+' && first != '-' && first != '.')
        return 0;
    bool point = first == '.';
    for (int i = 1; i < length; ++i) {
        const char c = text[i];
        if (IsDigit(c))
            continue;
        if (c != '.' || point)
            return 0;
        point = true;
    }
    return 1;
}

int CTools::IsStringAInt(CString text)
{
    const int length = text.GetLength();
    if (length == 0)
        return 0;
    const char first = text[0];
    if (!IsDigit(first) && first != '+' && first != '-')
        return 0;
    for (int i = 1; i < length; ++i)
        if (!IsDigit(text[i]))
            return 0;
    return 1;
}

void CTools::SplitString(const CString& text, const CString& separator, CArray<CString, CString>& out)
{
    if (text.IsEmpty() || separator.IsEmpty())
        return;
    std::vector<int> hits;
    for (int at = text.Find(separator, 0); at >= 0; at = text.Find(separator, at + 1))
        hits.push_back(at);
    if (hits.empty()) {
        out.Add(text);
        return;
    }
    const int s = separator.GetLength();
    const auto add = [&out](const CString& piece) {
        if (!piece.IsEmpty())
            out.Add(piece);
    };
    add(text.Left(hits.front()));
    // Hits of a separator that overlaps itself lie closer than its length: the piece
    // between them is empty, never of negative length.
    for (std::size_t i = 1; i < hits.size(); ++i)
        add(text.Mid(hits[i - 1] + s, std::max(0, hits[i] - hits[i - 1] - s)));
    add(text.Right(std::max(0, text.GetLength() - (hits.back() + s))));
}

CString CTools::CurrentTimeToStr()
{
    const std::tm t = LocalNow();
    CString text;
    text.Format("%d%d%d%d%d'", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min);
    return text;
}

CString CTools::CurrentTimeToStr2()
{
    const std::tm t = LocalNow();
    CString text;
    text.Format("%d.%d.%d %d:%d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min);
    return text;
}

void CTools::DlgDrawRect(CDC* dc, const CRect& rect)
{
    if (!dc)
        return;
    CRect frame = rect;
    const COLORREF red = RGB(255, 0, 0);
    dc->Draw3dRect(frame, red, red);
    InflateRect(&frame, -1, -1);
    dc->Draw3dRect(frame, red, red);
}

long CTools::DoubleToLong(double value)
{
    if (std::isnan(value))
        return 0;
    // Tenths of the magnitude, truncated; saturated where they leave the range of long.
    const double tenths = std::abs(value) * 10.0;
    constexpr long kMax = std::numeric_limits<long>::max();
    const long t = tenths >= static_cast<double>(kMax) ? kMax : static_cast<long>(tenths);
    const long q = t / 10;
    const long rounded = t - 10 * q >= 5 ? q + 1 : q;
    return value < 0.0 ? -rounded : rounded;
}

int CTools::PickDistance(double& distance)
{
    dec::PrintPrompt("请点取距离:");
    GePoint3d first;
    if (dec::GetPoint(nullptr, &first, kPickPointFlags) != dex::eOk)
        return 0;
    GePoint3d second;
    if (dec::GetPoint(&first, &second, kPickPointFlags) != dex::eOk)
        return 0;
    distance = first.DistanceTo(second);
    return 1;
}

void CTools::ShowPath(GePoint3dArray pts, int close, int mark, int lines, unsigned long colour, long)
{
    if (pts.empty() || pts.size() >= kShowPathLimit)
        return;
    decView* view = dec::GetActiveView();
    if (!view)
        return;
    const std::size_t given = pts.size();
    if (close != 0)
        pts.push_back(pts.front());
    const auto shown = static_cast<std::uint32_t>(colour);
    if (mark == 1)
        for (std::size_t i = 0; i < given; ++i)
            view->MarkPoints(&pts[i], 1, 10, shown);
    if (lines == 1)
        view->DrawPolyline(pts.data(), static_cast<int>(pts.size()), shown, 1);
}

double CTools::DistwithTwoPt(GePoint3d a, GePoint3d b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double CTools::ptDistToLineWithTwoPts(GePoint3d p, GePoint3d a, GePoint3d b)
{
    const double length = DistwithTwoPt(a, b);
    if (length < 1.0)
        return 0.0;
    const double area = ((p.x - a.x) * (p.y + a.y) + (a.x - b.x) * (b.y + a.y) + (b.x - p.x) * (p.y + b.y)) * 0.5;
    return std::abs(2.0 * area) / length;
}

int CTools::GetIntersectPWithTwoLineSeg(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, GePoint3d& out,
                                        double tol)
{
    Crossing crossing;
    if (!IntersectSegments(p1, p2, q1, q2, tol, true, crossing))
        return 0;
    out = crossing.point;
    return 1;
}

int CTools::GetIntersectPWithTwoLineSeg(GePoint3d p1, GePoint3d p2, GePoint3d q1, GePoint3d q2, double& out,
                                        double tol)
{
    Crossing crossing;
    if (!IntersectSegments(p1, p2, q1, q2, tol, false, crossing))
        return 0;
    out = crossing.t;
    return 1;
}
