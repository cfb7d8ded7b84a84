#include "ObjExport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <set>
#include <span>
#include <sstream>

#include "DbDatabase.h"
#include "DrawingFile.h"
#include "EventLog.h"
#include "FileReplace.h"
#include "FiniteEntity.h"
#include "decBuilder.h"
#include "decDbCurve.h"

namespace host {
namespace {

// Names in OBJ end at white space: spaces become underscores.
std::string Token(std::string text)
{
    for (char& c : text)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
    return text;
}

// Writes v as "%.10g" would, without printf's cost (an export writes millions of them).
char* PutNumber(char* at, char* end, double v)
{
    return std::to_chars(at, end, v, std::chars_format::general, 10).ptr;
}

std::string Number(double v)
{
    char text[32];
    return std::string(text, PutNumber(text, text + sizeof text, v));
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

// Accumulates the OBJ body: vertices are numbered across the whole file.
class ObjBody {
public:
    ObjBody(const DbDatabase& db, const std::string& mtlName) : m_db(db)
    {
        m_out << "# 3-D entities and curves of the drawing\nmtllib " << mtlName << "\n";
    }

    // false (nothing written) when a placed vertex is not finite.
    bool AddMesh(const decDbEntity3d& solid)
    {
        const decMesh3* mesh = solid.GetMesh();
        if (!mesh || mesh->GetCountVertex() == 0) return true;
        const GeMatrix3d tm = solid.GetNodeTm();
        std::vector<GePoint3d> placed(static_cast<std::size_t>(mesh->GetCountVertex()));
        for (std::size_t i = 0; i < placed.size(); ++i) placed[i] = tm * mesh->GetVertexArray()[i];
        if (!AllFinite(placed)) return false;
        Begin(solid, ObjectName(solid));
        for (const GePoint3d& p : placed) Vertex(p);
        for (const auto& face : mesh->Faces()) {
            if (face.size() < 3) continue;
            m_out << "f";
            for (int index : face) m_out << " " << m_base + static_cast<std::size_t>(index);
            m_out << "\n";
        }
        m_base += placed.size();
        return true;
    }

    // A curve's loops as line elements at their own coordinates; a closed loop returns to its
    // first vertex. false (nothing written) when a point of a loop is not finite.
    bool AddCurve(const decDbCurve& curve)
    {
        const std::vector<GePolygon> loops = curve.GetPolygons();
        for (const GePolygon& loop : loops)
            if (!AllFinite(std::span(loop.GetVertexArray(), static_cast<std::size_t>(loop.GetCountVertex()))))
                return false;
        if (std::none_of(loops.begin(), loops.end(), [](const GePolygon& p) { return p.GetCountVertex() >= 2; }))
            return true;
        Begin(curve, Token(std::string(curve.IsA()->className) + "_" + std::to_string(curve.GetObjectId().Handle())));
        for (const GePolygon& loop : loops) {
            const int count = loop.GetCountVertex();
            if (count < 2) continue;
            for (int i = 0; i < count; ++i) Vertex(loop.GetVertexArray()[i]);
            m_out << "l";
            for (int i = 0; i < count; ++i) m_out << " " << m_base + static_cast<std::size_t>(i);
            if (!loop.IsPolyline()) m_out << " " << m_base;
            m_out << "\n";
            m_base += static_cast<std::size_t>(count);
        }
        return true;
    }

    const std::set<long>& UsedLayers() const { return m_usedLayers; }
    // The body, taken out of the stream without a copy.
    std::string TakeText() { return std::move(m_out).str(); }

private:
    void Begin(const decDbEntity& entity, const std::string& name)
    {
        if (entity.GetMaterialId() == 0) m_usedLayers.insert(entity.GetLayerId());
        if (entity.GetLayerId() != m_currentLayer) {
            m_currentLayer = entity.GetLayerId();
            const decLayer* layer = m_db.Layers().GetLayer(m_currentLayer);
            m_out << "g " << Token(layer ? layer->GetName() : std::to_string(m_currentLayer)) << "\n";
        }
        m_out << "o " << name << "\nusemtl " << MaterialName(entity) << "\n";
    }

    void Vertex(const GePoint3d& p)
    {
        char line[96] = "v ";
        char* at = line + 2;
        char* const end = line + sizeof line;
        for (double v : {p.x, p.y, p.z}) {
            at = PutNumber(at, end, v);
            *at++ = ' ';
        }
        at[-1] = '\n';
        m_out.write(line, at - line);
    }

    const DbDatabase& m_db;
    std::ostringstream m_out;
    std::set<long> m_usedLayers;
    std::size_t m_base = 1;
    long m_currentLayer = -1;
};

}  // namespace

bool ExportObj(const DbDatabase& db, const std::string& objPath, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path obj(objPath);
    fs::path mtl = obj;
    mtl.replace_extension(".mtl");
    const std::string mtlPath = mtl.string();
    // "export obj r.mtl": the material file named from the target would be the target itself,
    // and one of the two files would be lost.
    if (NameOneFile(objPath, mtlPath)) {
        error = "cannot write \"" + objPath + "\": it would be its own material file \"" + mtlPath +
                "\" (an OBJ is named FILE.obj)";
        return false;
    }
    const TextFile targets[] = {{mtlPath, {}}, {objPath, {}}};
    if (!NoDrawingAmong(targets, error)) return false;

    ObjBody body(db, mtl.filename().string());
    for (decDbEntity* entity : db.AllObjects()) {
        if (entity->IsErased()) continue;
        if (!CanBeStored(*entity)) {
            ShowLeftOut("export obj", *entity, kHoldsNotFinite);
            continue;
        }
        const auto* solid = decDbEntity3d::Cast(entity);
        const auto* curve = decDbCurve::Cast(entity);
        if (!(solid ? body.AddMesh(*solid) : !curve || body.AddCurve(*curve)))
            ShowLeftOut("export obj", *entity, "its points are not finite");
    }
    const std::set<long>& usedLayers = body.UsedLayers();

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

    // Both files are written before either is replaced, so a refused or failed export leaves
    // the previous pair as it was and no material file of its own beside a refused target.
    const std::string materialText = materials.str();
    const std::string bodyText = body.TakeText();
    const TextFile files[] = {{mtlPath, materialText}, {objPath, bodyText}};
    if (!ReplaceTextFiles(files, error)) return false;
    EventLog::Instance().Call("export obj " + objPath);
    return true;
}

}  // namespace host
