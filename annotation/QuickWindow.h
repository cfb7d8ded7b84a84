#pragma once
// CQuickWindow: the window object of the versions below 4.0 ("旧版窗户"). The module makes no
// new ones; drawings of those versions still open with their windows, which show as boxes,
// list their data read-only and are turned into CWindow by updatewin.
//
// Its identity is the number text "C<building>-<floor>-<position>". Its frame is the entity
// transform: x along the window's length, y across it, z up; the box is 100 thick, centred on
// the plane y = 0, from the sill (z = 0) up to the height.
#include <vector>

#include "CString.h"
#include "GePoint3d.h"
#include "decBuilder.h"

class __attribute__((visibility("default"))) CQuickWindow : public decBuilder {
    DEC_DECLARE_CLASS(CQuickWindow)

public:
    CQuickWindow() = default;
    ~CQuickWindow() override = default;

    CString GetNumber() const { return m_number; }
    void SetNumber(const CString& number);
    int GetLength() const { return m_length; }
    int GetHeight() const { return m_height; }
    int GetHouseholdNo() const { return m_householdNo; }
    // Each returns the value it set.
    int SetLength(int length);
    int SetHeight(int height);
    void Set(const CString& number, int length, int height);
    // The household is filled in by the code that reads the window, not by an edit: no write
    // request.
    int SetHouseholdNo(int householdNo);

    // The three numbers of the number text: building, floor, position. A stretch whose
    // delimiting "-" is missing reads as 0; with a single "-" the third is read from the whole
    // text. The setters write "C%d-%d-%d" from the new value and the other two parts as they
    // read before, without a write request.
    int GetNumberPart1() const;
    int GetNumberPart2() const;
    int GetNumberPart3() const;
    void SetNumberPart1(int value);
    void SetNumberPart2(int value);
    void SetNumberPart3(int value);

    // Appends the window's rectangle on its plane: (-L/2, 0, 0), (L/2, 0, 0), (L/2, 0, H),
    // (-L/2, 0, H).
    void GetOutline(std::vector<GePoint3d>& points) const;

    int DisableReference() const override { return 1; }
    // Linked object, number text (counted raw bytes), length, height and, from class version 3
    // on, the household. A file record of an older class version loads with household 0.
    void Serialize(SerializeFilter& filter) override;
    void OnMapObjectIds(decIdMapper& mapper) override;
    void GetLinkObjects(decObjectArray& objects) const override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    // An unknown row raises the assertion and leaves the value unfilled.
    void OnPropertyValueGet(int index, prop_data& value) override;
    // Read-only: nothing changes (-2).
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    // The 100-thick box with texture coordinates; always 1.
    int MakeMesh(decMesh3** out) const override;

private:
    struct NumberParts {
        int building = 0;
        int floor = 0;
        int position = 0;
    };
    NumberParts ReadNumberParts() const;
    void WriteNumberParts(const NumberParts& parts);

    CString m_number;
    int m_length = 0;
    int m_height = 0;
    int m_householdNo = 0;
    // An object the old versions referred to; only kept, remapped and reported.
    decObjectId m_linked;
};

// 1 when |value| exceeds 0.001, else 0 (0.001 itself gives 0).
__attribute__((visibility("default"))) int IsNonZero(double value);
