#pragma once
// CFloorTableDlg: the floor table of the building and floor-line commands. The user types the
// storeys from the bottom up as "height*count" items in millimetres separated by commas
// ("3900,2900*5,3000*2"; a single storey is its height alone); the dialog checks the table,
// adds it up into the building height in metres and takes the base elevation and whether
// floor dividing lines are to be drawn.
#include <cstdint>
#include <string_view>
#include <vector>

#include "Mfc.h"

namespace FloorTable {

// The limits of one table item: storey height in millimetres, storey count.
inline constexpr std::uint32_t kMaxStoreyHeight = 100000;
inline constexpr std::uint32_t kMaxStoreyCount = 499;

enum class ParseResult {
    Ok,                // at least one item, every item valid
    Empty,             // no text at all
    IllegalCharacter,  // a character other than a digit, a space, '*' or ','
    BadItem,           // an item whose height or count is out of range (an empty part reads as 0)
};

// Reads the table into the two lists (replaced). Items are split at ','; an item is "h" (one
// storey) or "h*c", each part a whole number with blanks around it at most ("29 00" is no
// storey height, an empty part none either). h must lie in 1..kMaxStoreyHeight and c in
// 1..kMaxStoreyCount. On anything but Ok both lists are empty.
ParseResult Parse(std::string_view text, std::vector<std::uint32_t>& heights, std::vector<std::uint32_t>& counts);

// The table's total height in metres as the dialog shows it: each height × count taken as a
// 32-bit unsigned product, summed in single precision, divided by 1000, written "%.2f". The
// building height is thus the table's total to the nearest 10 millimetres.
CString FormatHeight(const std::vector<std::uint32_t>& heights, const std::vector<std::uint32_t>& counts);

// A building height the commands accept: 0.001 to 10000 metres (NaN is not).
bool IsReasonableBuildHeight(double metres);

// Metres as whole millimetres, to the nearest millimetre (32.3 m is 32300 mm, not the 32299
// that truncating 32.3 × 1000 gives); false when they do not fit a building's integer height.
bool ToWholeMillimetres(double metres, int& millimetres);

}  // namespace FloorTable

class CFloorTableDlg : public CDialog {
public:
    explicit CFloorTableDlg(CWnd* parent = nullptr);

    // Reads the controls and parses the table into the two lists: 1 when the table is valid
    // and not empty, else 0 with both lists empty. An illegal character is reported in a
    // message box and the focus goes to the table.
    int ParseFloorTable();
    // Writes the table's total height into the height edit.
    void FormatHeight();

    int m_bDrawFloorLines = 1;
    CString m_strElevation = "0.0";
    // The base elevation in metres the text gave when OK closed the dialog.
    double m_elevation = 0.0;
    CString m_strHeight;
    std::vector<std::uint32_t> m_storeyHeights;  // millimetres, bottom to top
    std::vector<std::uint32_t> m_storeyCounts;   // storeys of the matching height
    CString m_strFloorTable;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    afx_msg void OnBnClickedCalcHeight();
    // Closes the dialog only with a valid table whose total fits a building's integer height
    // in millimetres and a base elevation, typed as a number, that eelev would take;
    // otherwise says why and stays open.
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()
};
