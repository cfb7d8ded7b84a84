// The host's inquiry commands: list entities with their property rows, extended data and
// points; show and set one entity's properties through its own property handlers.
#include <string>

#include "CommandTable.h"
#include "DbDatabase.h"
#include "EventLog.h"
#include "HostCommandArgs.h"
#include "HostCommands.h"
#include "PropertyPanel.h"
#include "Question.h"
#include "ScriptedUser.h"
#include "Selection.h"
#include "TextParse.h"
#include "WorkingDrawing.h"
#include "decDbCurve.h"
#include "decDbTextAndPoint.h"

namespace host {

namespace {

using Args = std::vector<std::string>;

// The object that owns the property table: a 3-D entity's builder, else the entity.
decDbObject* PropertyOwner(decDbEntity* entity)
{
    decObject* base = entity->GetBaseObject();
    decDbObject* owner = base && base->IsKindOf(decDbObject::Desc()) ? static_cast<decDbObject*>(base) : nullptr;
    return owner ? owner : entity;
}

std::vector<TPropertyDef> Rows(const decDbObject* owner)
{
    std::vector<TPropertyDef> rows;
    const TPropertyDef* row = owner->GetObjectPropertyDefine();
    // The table ends with a row without a name; a table never has hundreds of rows.
    for (int i = 0; row && row[i].name && i < 1000; ++i) rows.push_back(row[i]);
    return rows;
}

std::string ValueText(decDbObject* owner, const TPropertyDef& row)
{
    prop_data value;
    owner->OnPropertyValueGet(row.index, value);
    switch (value.type) {
    case prop_data::kInteger: {
        std::string text = std::to_string(value.lValue);
        if (row.kind == 5) {
            TPropertyComboBoxData entries;
            owner->OnPropertyComboBoxInit(row.index, entries);
            if (value.lValue >= 0 && value.lValue < entries.GetCount())
                text += " (" + entries.Entries()[static_cast<std::size_t>(value.lValue)] + ")";
        }
        return text;
    }
    case prop_data::kReal: return FormatNumber(value.dValue);
    case prop_data::kText: return value.szValue;
    default: return "";
    }
}

std::string LayerName(const decDbEntity* entity)
{
    const decLayer* layer = dec::GetWorkingDatabase()->GetTableLayer()->GetLayer(entity->GetLayerId());
    return layer ? layer->GetName() : "?";
}

// What a host entity is made of: a polyline's vertices with their bulges, a text or a
// point's position, a curve's points, the extents of a solid or of what another 2-D entity
// draws; empty for others.
std::string GeometryText(const decDbEntity* entity)
{
    if (const auto* polyline = decCast<decDbPolyline>(entity)) {
        std::string points = polyline->IsClosed() ? " closed points:" : " points:";
        for (int i = 0; i < polyline->GetNumVerts(); ++i) {
            points += " " + FormatPoint(polyline->GetVertexAt(i));
            if (const double bulge = polyline->GetBulgeAt(i); bulge != 0.0) points += " b=" + FormatNumber(bulge);
        }
        return points;
    }
    if (const auto* text = decCast<decDbText>(entity))
        return std::string(" text=\"") + text->GetText() + "\" at " + FormatPoint(text->GetPosition());
    if (const auto* point = decCast<decDbPoint>(entity)) return " at " + FormatPoint(point->GetPosition());
    std::string points;
    for (int i = 0; i < entity->GetNumVerts(); ++i) points += " " + FormatPoint(entity->GetVertexAt(i));
    if (!points.empty()) return " points:" + points;
    // Solids, and 2-D entities such as labels by what they draw.
    const GeBoundBox3d& box = entity->GetBoundBox();
    return box.IsEmpty() ? std::string() : " extents " + FormatPoint(box.MinPoint()) + " to " + FormatPoint(box.MaxPoint());
}

// The extended data of an object: " xdata APP=item,item" per record.
std::string XDataText(const decDbObject* object)
{
    std::string out;
    for (const auto& app : object->XDataApps()) {
        out += std::string(" xdata ") + app->GetAppName() + "=";
        bool first = true;
        for (const decObjectXData& item : app->Items()) {
            out += first ? "" : ",";
            out += item.IsTypeString() ? "\"" + std::string(item.GetString()) + "\"" : std::to_string(item.GetLong());
            first = false;
        }
    }
    return out;
}

// One line: handle, class, layer, the property rows, the extended data, the entity's own
// colour and whether it is hidden, the geometry.
void ListOne(decDbEntity* entity)
{
    std::string line = DescribeEntity(entity) + " layer=" + LayerName(entity);
    decDbObject* owner = PropertyOwner(entity);
    owner->OpenForRead();
    for (const TPropertyDef& row : Rows(owner)) line += std::string(" ") + row.name + "=" + ValueText(owner, row);
    line += XDataText(entity);
    if (owner != entity) line += XDataText(owner);
    owner->Close();
    if (entity->HasEntityColor()) line += " colour=" + FormatHex(entity->GetEntityColor().GetColor());
    if (entity->IsHidden()) line += " hidden";
    EventLog::Instance().Show(line + GeometryText(entity));
}

void List(const ScriptLine& line, const Args& args)
{
    if (args.empty()) {
        for (decDbEntity* entity : dec::GetWorkingDatabase()->AllObjects())
            if (!entity->IsErased()) ListOne(entity);
        return;
    }
    // The words name entities as a selection answer does (#N, last, all, layer:NAME).
    ScriptLine named = line;
    named.text.clear();
    for (const std::string& word : args) named.text += (named.text.empty() ? "" : " ") + word;
    for (decDbEntity* entity : ResolveSelection(named)) ListOne(entity);
}

void Props(const ScriptLine& line, const Args& args)
{
    if (args.size() != 1) {
        Usage(line, "props #N");
        return;
    }
    const auto entities = EntityArgs(line, args);
    if (!entities) return;
    decDbObject* owner = PropertyOwner(entities->front());
    EventLog& log = EventLog::Instance();
    log.Show(DescribeEntity(entities->front()) + " properties:");
    owner->OpenForRead();
    for (const TPropertyDef& row : Rows(owner))
        log.Show("  " + std::to_string(row.index) + " [" + (row.group ? row.group : "") + "] " + row.name +
                 " (kind " + std::to_string(row.kind) + (row.readOnly ? ", read-only" : "") + ") = " +
                 ValueText(owner, row));
    owner->Close();
}

std::string ReadValueText(decDbObject* owner, const TPropertyDef& row)
{
    owner->OpenForRead();
    std::string text = ValueText(owner, row);
    owner->Close();
    return text;
}

// A property handler answers -2 both when it takes a value and when it quietly keeps the old
// one, so only a changed value text counts as taken.
const char* SetPropOutcome(int result, const std::string& before, const std::string& now)
{
    if (result != dex::eOk) return "refused";
    return before == now ? "unchanged" : "taken";
}

// The value of a row read from the typed text; nothing (line refused) when it does not fit.
std::optional<prop_data> ReadValue(const ScriptLine& line, const TPropertyDef& row, const std::string& text)
{
    prop_data value;
    switch (row.kind) {
    case 1:
    case 3:
    case 5: {
        const auto number = ParseInt(text);
        if (!number || (row.kind == 3 && *number != 0 && *number != 1)) {
            RefuseAnswer(line, std::string("the property \"") + row.name + "\" takes " +
                                   (row.kind == 3 ? "0 or 1" : "a whole number") + ", not \"" + text + "\"");
            return std::nullopt;
        }
        value.SetLong(*number);
        return value;
    }
    case 2: {
        const auto number = ParseNumber(text);
        if (!number) {
            RefuseAnswer(line, std::string("the property \"") + row.name + "\" takes a number, not \"" + text + "\"");
            return std::nullopt;
        }
        value.SetDouble(*number);
        return value;
    }
    default:
        value.SetText(text.c_str());
        return value;
    }
}

void SetProp(const ScriptLine& line, const Args& args)
{
    if (args.size() < 2) {
        Usage(line, "setprop #N INDEX VALUE");
        return;
    }
    const auto entities = EntityArgs(line, {args[0]});
    if (!entities) return;
    const auto index = ParseInt(args[1]);
    decDbObject* owner = PropertyOwner(entities->front());
    const std::vector<TPropertyDef> rows = Rows(owner);
    const TPropertyDef* row = nullptr;
    for (const TPropertyDef& r : rows)
        if (index && r.index == *index) row = &r;
    if (!row) {
        RefuseAnswer(line, DescribeEntity(entities->front()) + " has no property " + args[1] + " (props lists them)");
        return;
    }
    const std::string text(AfterWords(line.text, 3));
    EventLog& log = EventLog::Instance();
    const std::string before = ReadValueText(owner, *row);
    int result = 0;
    DbAutoOpen open;
    if (row->kind == 7) {
        // A pick in the drawing: the object asks the following lines itself.
        decObject* objects[] = {owner};
        int handled = 0;
        result = owner->OnPropertyOtherEdit(row->index, text.c_str(), 1, objects, handled) ? dex::eOk : 0;
    } else {
        const auto value = ReadValue(line, *row, text);
        if (!value) return;
        if (owner->OpenForWrite() != dex::eOk) {
            log.Show(DescribeEntity(entities->front()) + " cannot be changed now");
            return;
        }
        result = owner->OnPropertyValueChanged(row->index, *value);
        owner->Close();
    }
    const std::string now = ReadValueText(owner, *row);
    log.Show(DescribeEntity(entities->front()) + ": " + SetPropOutcome(result, before, now) + ", " + row->name + "=" + now);
}

}  // namespace

void RegisterInquiryCommands()
{
    CommandTable& table = CommandTable::Instance();
    table.RegisterHost("list", "列表", List);
    table.RegisterHost("props", "特性", Props);
    table.RegisterHost("setprop", "修改特性", SetProp);
}

}  // namespace host
