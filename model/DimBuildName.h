#pragma once
// Building-name labels: the command diminbld writes a picked building's name into the
// drawing as a scaled text on layer "建筑名称", at a point the user drags it to.
#include "CString.h"
#include "DragCallback.h"
#include "GePoint3d.h"
#include "Selection.h"

// Takes tagged buildings and extruded buildings.
class FT_BUILD : public decSSGet_filter {
public:
    int Accept(decDbEntity* entity, int& accept) override;
};

// Shows the name at the cursor while the insertion point is dragged.
class drag_cb_insert_build_name : public decDragCallback {
public:
    drag_cb_insert_build_name() = default;
    drag_cb_insert_build_name(CString name, double drawnHeight, double textHeight)
        : m_name(std::move(name)), m_drawnHeight(drawnHeight), m_textHeight(textHeight)
    {
    }

    void OnDragDraw(decView* view, const GePoint3d& pt) override;

private:
    CString m_name;
    double m_drawnHeight = 0.0;
    unsigned m_placement = 0;
    double m_textHeight = 0.0;
};

// Drags the name at the cursor (drawn at the building text height × the drawing scale) after
// the prompt; 1 when a point was given.
int DragBuildName(const CString& name, const char* prompt, GePoint3d& point);
// The name as a scaled text standing on the point, on layer "建筑名称" (made magenta when
// missing); the drawing must be open for write. Nothing for an empty name.
void CreateBuildNameText(const CString& name, const GePoint3d& point);

// One pass of the command: pick, drag, create.
class CDimBuildName {
public:
    // 1 when a label was created, 0 when the pass ended without one.
    int Dim();
    // 1 when a named building was picked (its name kept); an unnamed extruded building is
    // offered to be named, and the pass ends all the same (0).
    int SelBuild();
    // 1 when the insertion point was given.
    int GetInsertPoint();
    // The text on layer "建筑名称"; nothing for an empty name.
    void CreateText();

    const CString& Name() const { return m_name; }
    const GePoint3d& InsertPoint() const { return m_insertPoint; }

private:
    CString m_name;
    GePoint3d m_insertPoint;
};
