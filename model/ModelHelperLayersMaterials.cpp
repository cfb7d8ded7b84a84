#include "ModelHelperLayersMaterials.h"

#include "AssertReport.h"
#include "DbDatabase.h"

namespace {

// The line style a layer gets when the caller gives a negative one.
constexpr int kDefaultLayerStyle = 25;

bool CanCreateMaterial(DbDatabase* db)
{
    return ORV_ASSERT(db && db->IsOpenForWrite() && "数据库没有打开，无法创建色块材质", "modelhelper");
}

// Adds a new material built by fill, or returns the id of the existing one of that name.
template <class Material, class Fill>
long FindOrCreateMaterial(DbDatabase* db, const CString& name, Fill fill)
{
    dexMaterialTable* table = db->GetTableMaterial();
    if (const long id = table->GetIdByName(name))
        return id;
    auto* material = new Material();
    fill(*material);
    table->OpenForWrite();
    table->CreateNewMatObj(material, 0);
    table->Close();
    return material->GetMatId();
}

}  // namespace

long FindOrCreateLayer(DbDatabase* db, const char* name, std::uint32_t colour)
{
    decLayerTable* layers = db->GetTableLayer();
    decLayer* layer = layers->SearchLayer(name);
    if (!layer) {
        layers->OpenForWrite();
        layer = layers->CreateNewLayer(name, colour);
        layers->Close();
    }
    return layer ? layer->GetID() : 0;
}

long CreateLayer(DbDatabase* db, const char* name, unsigned long colour, int style, int visible)
{
    // Without a database open for write there is nowhere to put the layer: no id.
    if (!ORV_ASSERT(db && db->IsOpenForWrite(), "modelhelper"))
        return 0;
    decLayerTable* table = db->GetTableLayer();
    decLayer* layer = table->SearchLayer(name);
    if (!layer) {
        Q3dColor layerColour;
        layerColour.SetColor(static_cast<std::uint32_t>(colour));
        table->OpenForWrite();
        layer = table->CreateLayer(name, layerColour, style < 0 ? kDefaultLayerStyle : style, "Continuous");
        if (layer)
            layer->SetVisible(visible);
        table->Close();
        return layer ? layer->GetLayerId() : 0;
    }
    if (layer->GetColor() != (static_cast<std::uint32_t>(colour) & 0xFFFFFFu)) {
        table->OpenForWrite();
        layer->SetColor(static_cast<std::uint32_t>(colour));
        table->Close();
    }
    if (!layer->IsVisible() && visible) {
        table->OpenForWrite();
        layer->SetVisible(1);
        table->Close();
    }
    return layer->GetLayerId();
}

long CreateSolidColorMaterial(DbDatabase* db, CString& name, unsigned long colour, double transparency)
{
    if (!CanCreateMaterial(db))
        return 0;
    return FindOrCreateMaterial<dexMaterialSolidColor>(db, name, [&](dexMaterialSolidColor& material) {
        material.SetName(name);
        material.SetColor(static_cast<std::uint32_t>(colour));
        material.SetTransparent(static_cast<float>(transparency), true);
    });
}

long CreateImageMaterial(DbDatabase* db, CString& name, CString& imagePath, unsigned long colour, double transparency)
{
    if (!CanCreateMaterial(db))
        return 0;
    return FindOrCreateMaterial<dexMaterialBitmap>(db, name, [&](dexMaterialBitmap& material) {
        material.SetName(name);
        material.SetImageFilePath(imagePath);
        material.SetColor(static_cast<std::uint32_t>(colour));
        material.SetTransparent(static_cast<float>(transparency), true);
    });
}
