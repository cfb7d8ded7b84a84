#include "TestBlock.h"

#include "SerializeFilter.h"
#include "decReturnCode.h"

DEC_IMPLEMENT_CLASS(CTestBlock, decBuilder, "测试块", 1)

namespace {
const char* const kKinds[] = {"住宅", "办公", "商业"};
}  // namespace

int CTestBlock::MakeMesh(decMesh3** out) const
{
    auto* mesh = new decMesh3;
    mesh->CreateBox(1000.0, 1000.0, m_height);
    *out = mesh;
    return 1;
}

const TPropertyDef* CTestBlock::GetObjectPropertyDefine() const
{
    static const TPropertyDef rows[] = {
        {"基本", "名称", "输入名称", 0, 4, 0, 0},
        {"基本", "高度", "输入高度（毫米）", 1, 1, 0, 0},
        {"基本", "类型", "选择类型", 2, 5, 0, 0},
        {"基本", "底标高（米）", "输入底标高", 3, 2, 0, 0},
        {nullptr, nullptr, nullptr, 0, 0, 0, 0},
    };
    return rows;
}

void CTestBlock::OnPropertyValueGet(int index, prop_data& value)
{
    switch (index) {
    case 0: value.SetText(m_name); break;
    case 1: value.SetLong(m_height); break;
    case 2: value.SetLong(m_kind); break;
    case 3: value.SetDouble(m_baseMillimetres / 1000.0); break;
    default: break;
    }
}

int CTestBlock::OnPropertyValueChanged(int index, const prop_data& value)
{
    AssertWriteEnabled(1, 1, 1, 0);
    switch (index) {
    case 0: m_name = value.szValue; return dex::eOk;
    case 1:
        if (value.lValue <= 0) return dex::eFail;
        m_height = static_cast<int>(value.lValue);
        return dex::eOk;
    case 2:
        if (value.lValue < 0 || value.lValue >= 3) return dex::eFail;
        m_kind = static_cast<int>(value.lValue);
        return dex::eOk;
    case 3: m_baseMillimetres = value.dValue * 1000.0; return dex::eOk;
    default: return dex::eFail;
    }
}

void CTestBlock::OnPropertyComboBoxInit(int index, TPropertyComboBoxData& entries)
{
    if (index != 2) return;
    for (const char* kind : kKinds) entries.AddString(kind);
}

void CTestBlock::Serialize(SerializeFilter& filter)
{
    decBuilder::Serialize(filter);
    filter.Transfer(m_name, m_height, m_kind, m_baseMillimetres);
}
