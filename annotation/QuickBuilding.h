#pragma once
// CQuickBuilding: the building object of the versions below 4.0 ("旧版建筑"). The module makes
// no new ones; drawings of those versions still open with their buildings, which show as
// prisms (a face per ring, a wall under every outline edge), list their data read-only and
// are turned into CExtrudeBuild by updatebld.
//
// Its frame is the entity transform; in it the outline starts at the origin with its first
// edge along +x and runs counter-clockwise. Ring 0 is the base outline and ring 1 the roof
// outline at the height. The height is in metres; the storey table (millimetres) and an
// additional height add up to it.
#include <vector>

#include "CString.h"
#include "GePoint3dArray.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) CQuickBuilding : public decBuilder {
    DEC_DECLARE_CLASS(CQuickBuilding)

public:
    CQuickBuilding() = default;
    ~CQuickBuilding() override = default;

    // The name; an unnamed building (empty or "无") is first given its number as its name.
    // Filling in the name is no edit: no write request.
    CString GetName();
    float GetHeight() const { return m_height; }
    int GetNumber() const { return m_number; }
    int GetFloorCount() const { return m_floors; }
    int GetExtraHeight() const { return m_extraHeight; }
    int GetOutlineCount() const { return static_cast<int>(m_outline.size()); }
    const std::vector<float>& StoreyHeights() const { return m_storeyHeights; }
    const std::vector<GePoint3dArray>& Rings() const { return m_rings; }
    const decObjectIdArray& Windows() const { return m_windows; }
    const CString& SecondText() const { return m_secondText; }
    void SetNumber(int number);

    void GetData(int& number, GePoint3dArray& outline, int& floors, int& extraHeight, std::vector<float>& storeyHeights,
                 CString& name);
    void GetOutline(GePoint3dArray& outline) const;
    // The wall under edge i (the closing edge for the last i): p(i), p(i+1) and the two raised
    // by the height. false for an index outside the outline.
    bool GetWallFace(int i, GePoint3dArray& wall) const;
    // Appends one wall per edge, closing edge last; returns the floors. 0 (nothing appended)
    // for an outline of fewer than 2 points.
    int GetWallFaces(std::vector<GePoint3dArray>& walls) const;
    // The rings, then the walls.
    void GetAllFaces(std::vector<GePoint3dArray>& faces) const;

    // Builds the building from world points: cleaned, turned counter-clockwise and moved into
    // the frame above (a closing repeat within 1.0 kept once); the height is the additional
    // height plus the storey heights, in metres; rings 0 and 1 are the base and the roof.
    // Fewer than 2 points, before or after cleaning, a point or storey height that is not
    // finite, or a height a float cannot hold, change nothing. Takes the first floors
    // storey heights (fewer when fewer are given).
    void Set(int number, GePoint3dArray points, int floors, int extraHeight, const std::vector<float>& storeyHeights,
             const CString& name);

    // ---- the list of the building's legacy windows ----
    void AddWindows(const decObjectIdArray& ids);
    void ClearWindows() { m_windows.clear(); }
    bool RemoveWindowAt(int index);
    // Removes, for each id, the first equal one of the list.
    void RemoveWindows(const decObjectIdArray& ids);
    // 1 when the id leads to no object or to an erased one.
    static int IsInvalidId(const decObjectId& id);
    // Drops invalid ids (no write request); the count left.
    int PurgeWindowIds();
    // Drops the ids of missing and erased objects and copies the list out.
    void GetWindowIds(decObjectIdArray& ids);
    // The live legacy window entity at that index; null (and the id dropped) otherwise.
    decDbEntity* GetWindowEntity(int index);
    // The walks below drop, as they meet them, ids that no longer lead to a live legacy window
    // entity (with a write request, except GetFloorWindowIds).
    int CountFloorWindows(int floor);
    bool FindWindow(int floor, int position);
    // The largest position on the floor plus 1; 1 for a floor without windows.
    int GetNextWindowIndex(int floor);
    // The ids of the windows on the floor; ids of windows of another building number are
    // dropped from the list too.
    void GetFloorWindowIds(decObjectIdArray& ids, int floor);

    // ---- the linked object ----
    void SetLinkObject(const decObjectId& id);
    void ClearLinkObject();
    // The linked entity while it is live; a missing or erased object clears the link.
    decDbEntity* GetLinkEntity();
    bool GetLinkObjectId(decObjectId& id);
    bool HasLinkObject();

    int DisableReference() const override { return 1; }
    // Windows, linked object, number, second text (counted raw bytes), outline, floors,
    // additional height, storey heights, height, link flag, rings and, from class version 3
    // on, the name. Every count is checked against what is left of the record.
    void Serialize(SerializeFilter& filter) override;
    void OnMapObjectIds(decIdMapper& mapper) override;
    void GetLinkObjects(decObjectArray& objects) const override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    // Read-only: nothing changes (-2).
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    // A face per ring (when the outline has more than 2 points), then a wall per edge. No mesh
    // (1, nothing built) without outline, storeys or storey table, or when a ring is shorter
    // than the outline.
    int MakeMesh(decMesh3** out) const override;

private:
    // The id dropped by a walk: true when it leads to a live legacy window, whose number is
    // then read; false when it was dropped.
    bool KeepListedWindow(std::size_t index, bool requestWrite, int& building, int& floor, int& position);
    void ClearLinkWhenStale();

    CString m_name;
    int m_number = 0;
    // A text the old versions stored beside the number; only kept.
    CString m_secondText;
    GePoint3dArray m_outline;
    int m_floors = 0;
    int m_extraHeight = 0;
    std::vector<float> m_storeyHeights;
    float m_height = 0.0f;
    bool m_linkSet = false;
    std::vector<GePoint3dArray> m_rings;
    decObjectIdArray m_windows;
    decObjectId m_linked;
};

// The largest and the smallest of count ints; a count of 0 leaves both as they are.
__attribute__((visibility("default"))) void GetIntMaxMin(const int* values, int count, int& largest, int& smallest);
