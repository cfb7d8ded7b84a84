#include "DrawingDump.h"

#include <cstdio>

#include "DbDatabase.h"
#include "decBuilder.h"
#include "decDbForeignObject.h"

namespace host {
namespace {

std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string Point(const GePoint3d& p) { return "[" + Number(p.x) + "," + Number(p.y) + "," + Number(p.z) + "]"; }

std::string ClassName(const decDbEntity& entity)
{
    if (const auto* foreign = decDbForeignObject::Cast(&entity)) return foreign->GetForeignClassName();
    const decObject* base = entity.GetBaseObject();
    return (base ? base->IsA() : entity.IsA())->className;
}

std::string XData(const decObject& object)
{
    std::string out = "{";
    bool firstApp = true;
    for (const auto& app : object.XDataApps()) {
        out += (firstApp ? "" : ",") + Quote(app->GetAppName()) + ":[";
        firstApp = false;
        bool firstItem = true;
        for (const decObjectXData& item : app->Items()) {
            out += firstItem ? "" : ",";
            firstItem = false;
            out += item.IsTypeString() ? Quote(item.GetString()) : std::to_string(item.GetLong());
        }
        out += "]";
    }
    return out + "}";
}

std::string Entity(const decDbEntity& entity)
{
    std::string out = "{\"id\":" + std::to_string(entity.GetObjectId().Handle()) + ",\"class\":" +
                      Quote(ClassName(entity)) + ",\"layer\":" + std::to_string(entity.GetLayerId()) +
                      ",\"material\":" + std::to_string(entity.GetMaterialId());
    if (entity.IsErased()) out += ",\"erased\":true";
    if (entity.IsHidden()) out += ",\"hidden\":true";
    if (entity.HasEntityColor()) out += ",\"colour\":" + std::to_string(entity.GetEntityColor().GetColor());
    if (*entity.GetName()) out += ",\"name\":" + Quote(entity.GetName());
    if (!entity.XDataApps().empty()) out += ",\"xdata\":" + XData(entity);
    if (const auto* solid = decDbEntity3d::Cast(&entity)) {
        if (const decMesh3* mesh = solid->GetMesh())
            out += ",\"mesh\":{\"vertices\":" + std::to_string(mesh->GetCountVertex()) +
                   ",\"faces\":" + std::to_string(mesh->GetCountPolygon()) + "}";
    }
    if (!entity.IsErased() && !decDbForeignObject::Cast(&entity)) {
        const GeBoundBox3d& box = entity.GetBoundBox();
        if (!box.IsEmpty()) out += ",\"bounds\":[" + Point(box.MinPoint()) + "," + Point(box.MaxPoint()) + "]";
    }
    return out + "}";
}

}  // namespace

std::string DumpDrawingJson(const DbDatabase& db)
{
    std::string out = "{\"currentLayer\":" + std::to_string(db.Layers().GetCurrentLayerID()) + ",\n\"layers\":[";
    bool first = true;
    for (const auto& layer : db.Layers().Layers()) {
        out += std::string(first ? "" : ",") + "\n {\"id\":" + std::to_string(layer->GetID()) + ",\"name\":" +
               Quote(layer->GetName()) + ",\"colour\":" + std::to_string(layer->GetColor()) +
               ",\"visible\":" + (layer->IsVisible() ? "true" : "false") + "}";
        first = false;
    }
    out += "],\n\"materials\":[";
    first = true;
    for (const auto& material : db.Materials().Materials()) {
        out += std::string(first ? "" : ",") + "\n {\"id\":" + std::to_string(material->GetMatId()) + ",\"name\":" +
               Quote(material->GetName()) + ",\"colour\":" + std::to_string(material->GetColor()) +
               ",\"transparency\":" + Number(material->GetTransparent()) + "}";
        first = false;
    }
    out += "],\n\"variables\":{";
    first = true;
    for (const auto& [name, value] : db.GlobalVars()) {
        out += std::string(first ? "" : ",") + Quote(name) + ":" + Number(value);
        first = false;
    }
    out += "},\n\"groups\":[";
    first = true;
    for (const DrawingGroup& group : db.Groups()) {
        out += std::string(first ? "" : ",") + "\n {\"flags\":" + std::to_string(group.flags) + ",\"members\":[";
        for (std::size_t i = 0; i < group.members.size(); ++i)
            out += (i ? "," : "") + std::to_string(group.members[i].Handle());
        out += "]}";
        first = false;
    }
    out += "],\n\"objects\":[";
    first = true;
    for (const decDbEntity* entity : db.AllObjects()) {
        out += std::string(first ? "" : ",") + "\n " + Entity(*entity);
        first = false;
    }
    return out + "]}\n";
}

}  // namespace host
