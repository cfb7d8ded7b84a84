#pragma once
// CDimBuildElevation: the building elevation label. An elevation marker (a small triangle
// under a leader line) whose apex is the insertion point, with a text above it giving the
// building's top elevation, height or bottom elevation in metres (three decimals), or two of
// them. Marker and text are drawn at the drawing scale.
#include <optional>
#include <vector>

#include "CString.h"
#include "Ge.h"
#include "decDbEntity.h"

#ifndef DIM_ELEVATION_EXPORT
#define DIM_ELEVATION_EXPORT __attribute__((visibility("default")))
#endif

class __attribute__((visibility("default"))) CDimBuildElevation : public decDbEntity2d {
    DEC_DECLARE_CLASS(CDimBuildElevation)

public:
    // What the label shows; also the position in the style list.
    enum Style {
        kTop = 0,              // "顶标高"
        kHeight = 1,           // "建筑高度"
        kBottom = 2,           // "底标高"
        kTopAndBottom = 3,     // "顶标高和底标高"
        kHeightAndTop = 4,     // "建筑物高度和顶标高"
    };

    // Height -1000000000, top -1e9, bottom 1e9 (the start of a search), the remembered style.
    CDimBuildElevation();
    // The host's object base is not copyable: a copy starts from a fresh base part and takes
    // every field of the label (the font list included).
    CDimBuildElevation(const CDimBuildElevation& other);
    CDimBuildElevation& operator=(const CDimBuildElevation& other);
    ~CDimBuildElevation() override = default;

    // The style new labels take; the style dialog changes it. 4 when the module is loaded.
    static int RememberedStyle();
    static void SetRememberedStyle(int style);

    // Fills the label before it enters the drawing (no write access asked): the height
    // rounded to whole millimetres, top = bottom + that whole height, the drawing's scale
    // and building text height. false (nothing changes) for a height that whole millimetres
    // in an int cannot hold, or a bottom, top or position not finite.
    bool Set(double height, double bottom, const GePoint3d& position);
    // The interactive placement: the building's values from a pick or an inner point, then
    // the insertion point (with the style dialog on offer). 1 when complete, 0 when the user
    // ended an input.
    int Set();
    // No tolerance. A value that is not finite is refused here and below (nothing changes).
    void SetScale(double scale);
    // Changes the text height only for a difference of at least 0.001.
    void SetTextHeight(double textHeight);
    void SetStyle(int style) { m_style = style; }

    int Height() const { return m_height; }
    double Top() const { return m_top; }
    double Bottom() const { return m_bottom; }
    int GetStyle() const { return m_style; }
    const GePoint3d& Position() const { return m_position; }
    double TextHeight() const { return m_textHeight; }
    double Scale() const { return m_scale; }
    const CString& Font() const { return m_font; }
    const std::vector<CString>& FontList() const { return m_fontList; }
    // The text the label shows for its style; empty for a style outside the table.
    CString LabelText() const;

    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    void OnPropertyComboBoxInit(int index, TPropertyComboBoxData& data) override;

    int OnWorldDraw(decViewFilter& filter) override;
    void GetGripPoints(GePoint3dArray& grips) const override;
    // Any grip moves the label.
    int MoveGripPointsAt(const std::vector<int>& indices, const GeVector3d& offset) override;
    // Moves the label; the scale takes the matrix's X scale, so marker and text grow alike.
    int TransformBy(const GeMatrix3d& tm) override;

private:
    // Placement steps (DimBuildElevationPlacement.cpp).
    int GetBuildInfo();
    int GetHeightByPoint(const GePoint3d& point);
    void GetHeightByBuildName(const CString& name);
    int GetInsertPoint();
    // Back to the start values of a search: top -1e9, bottom 1e9.
    void ResetRange();
    // The nearest whole millimetres, when an int holds them. A height worked out in single
    // precision lands a hair off its millimetre (27,399.99 for a 24.4 m building under a 3 m
    // roof): cut toward zero it would show a millimetre short of what was built.
    static std::optional<int> WholeMillimetres(double mm);
    // height = (top - bottom) in WholeMillimetres, when an int holds
    // it; else the height stays and HasValues says no. The top keeps its fraction, so that
    // a search can go on from it; HoldTopToHeight ends the search.
    void UpdateHeightFromRange();
    // top = bottom + the whole-millimetre height. The record keeps only height and bottom and
    // rebuilds the top from them, so every top the label shows is this one: a top with a
    // fraction beyond the height would show one value before a save and another after.
    void HoldTopToHeight();
    // Takes the bottom and the difference of top and bottom as the height (the top then
    // held to it), when whole millimetres in an int hold it; false (nothing changes)
    // otherwise.
    bool TakeRange(double top, double bottom);
    // Whether top and bottom make a label: top not below bottom, and their difference fits
    // the whole-millimetre height.
    bool HasValues() const;

    int m_height = -1000000000;
    // A search runs it up from -1e9; a complete label holds it at bottom + height.
    double m_top = -1e9;
    double m_bottom = 1e9;
    int m_style = 4;
    GePoint3d m_position;
    double m_textHeight = 0.0;
    double m_scale = 0.0;
    CString m_font{"hztxt.shx"};
    std::vector<CString> m_fontList;
};

// Labels a new building: a label at the centre of the outline's plan box (z 0) on layer
// "建筑标高", the current layer left as it was. Nothing for a height below 0.001, fewer than
// three outline points, or values the label refuses (see Set). The working database is open for write (the building command's).
DIM_ELEVATION_EXPORT void DimBuildElevation(double height, double bottom, std::vector<GePoint3d>& outline);
