#include "ObjExport.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <set>
#include <sstream>

#include "DbDatabase.h"
#include "EventLog.h"
#include "FileReplace.h"
#include "decBuilder.h"

namespace host {
namespace {

// Names in OBJ end at white space: spaces become underscores.
std::string Token(std::string text)
{
    for (char& c : text)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
    return text;
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string Kd(std::uint32_t colour)
{
    return Number((colour & 0xFF) / 255.0) + " " + Number(((colour >> 8) & 0xFF) / 255.0) + " " +
           Number(((colour >> 16) & 0xFF) / 255.0);
}

std::string MaterialName(const decDbEntity& entity)
{
    return entity.GetMaterialId() != 0 ? "mat" + std::to_string(entity.GetMaterialId())
                                       : "layer" + std::to_string(entity.GetLayerId());
}

std::string ObjectName(const decDbEntity3d& entity)
{
    const decObject* base = entity.GetBaseObject();
    std::string name = (base ? base->IsA() : entity.IsA())->className;
    name += "_" + std::to_string(entity.GetObjectId().Handle());
    if (const decObjectXDataApp* app = entity.FindAppXDataByName("XBUILD_NAME"))
        if (app->GetCount() > 0 && app->GetAt(0)->IsTypeString() && *app->GetAt(0)->GetString())
            name += "_" + std::string(app->GetAt(0)->GetString());
    return Token(name);
}

// Replaces the file whole, so a failed export leaves the previous one as it was.
bool WriteText(const std::filesystem::path& path, const std::string& text, std::string& error)
{
    std::string reason;
    if (ReplaceFile(path.string(), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), reason))
        return true;
    error = "cannot write \"" + path.string() + "\": " + reason;
    return false;
}

}  // namespace

bool ExportObj(const DbDatabase& db, const std::string& objPath, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path obj(objPath);
    fs::path mtl = obj;
    mtl.replace_extension(".mtl");

    std::ostringstream body;
    body << "# 3-D entities of the drawing\nmtllib " << mtl.filename().string() << "\n";
    std::set<long> usedLayers;
    std::size_t base = 1;
    long currentLayer = -1;
    for (decDbEntity* entity : db.AllObjects()) {
        const auto* solid = decDbEntity3d::Cast(entity);
        if (!solid || solid->IsErased()) continue;
        const decMesh3* mesh = solid->GetMesh();
        if (!mesh || mesh->GetCountVertex() == 0) continue;
        if (solid->GetMaterialId() == 0) usedLayers.insert(solid->GetLayerId());
        if (solid->GetLayerId() != currentLayer) {
            currentLayer = solid->GetLayerId();
            const decLayer* layer = db.Layers().GetLayer(currentLayer);
            body << "g " << Token(layer ? layer->GetName() : std::to_string(currentLayer)) << "\n";
        }
        body << "o " << ObjectName(*solid) << "\nusemtl " << MaterialName(*solid) << "\n";
        const GeMatrix3d tm = solid->GetNodeTm();
        for (int i = 0; i < mesh->GetCountVertex(); ++i) {
            const GePoint3d p = tm * mesh->GetVertexArray()[i];
            body << "v " << Number(p.x) << " " << Number(p.y) << " " << Number(p.z) << "\n";
        }
        for (const auto& face : mesh->Faces()) {
            if (face.size() < 3) continue;
            body << "f";
            for (int index : face) body << " " << base + static_cast<std::size_t>(index);
            body << "\n";
        }
        base += static_cast<std::size_t>(mesh->GetCountVertex());
    }

    std::ostringstream materials;
    materials << "# materials of the drawing\n";
    for (const auto& material : db.Materials().Materials()) {
        materials << "newmtl mat" << material->GetMatId() << "\n# " << material->GetName() << "\nKd "
                  << Kd(material->GetColor()) << "\nd " << Number(1.0 - material->GetTransparent()) << "\n";
        if (material->GetKind() == dexMaterialObj::kBitmap)
            materials << "map_Kd " << static_cast<const dexMaterialBitmap&>(*material).GetImageFilePath() << "\n";
    }
    for (long id : usedLayers) {
        const decLayer* layer = db.Layers().GetLayer(id);
        materials << "newmtl layer" << id << "\nKd " << Kd(layer ? layer->GetColor() : 0xFFFFFF) << "\nd 1\n";
    }

    if (!WriteText(mtl, materials.str(), error) || !WriteText(obj, body.str(), error)) return false;
    EventLog::Instance().Call("export obj " + objPath);
    return true;
}

}  // namespace host
