#pragma once
// Dialog templates as data: what the headless dialog engine builds a dialog from. A module
// registers its templates (and the bitmaps and icons its pictures and buttons show) once,
// before the first dialog opens; a dialog looks its template up by id when it is run.
#include <string>
#include <vector>

namespace host::mfc {

enum class ControlKind {
    Static,     // text label or frame
    Picture,    // static control that shows a bitmap
    Edit,
    Button,     // push button
    CheckBox,
    Radio,
    ComboBox,
    ListBox,
    Spin,
};

// The kind's name as the transcript gives it ("edit", "check box", ...).
const char* ControlKindName(ControlKind kind);

// Style bits of a control, as the template gives them.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kGroupStart = 1u << 0,  // first control of a group (radio buttons: starts a radio group)
    kSorted = 1u << 1,      // combo or list box keeps its items sorted
    kDropDown = 1u << 2,    // combo box with an edit field (text free)
    kDropList = 1u << 3,    // combo box whose text is always its selected item
    kNotify = 1u << 4,      // list box sends selection notifications
    kDisabled = 1u << 5,    // starts disabled
    kHidden = 1u << 6,      // starts hidden
    kNumber = 1u << 7,      // edit takes digits only
};

// The id of static texts the program never addresses; any number of controls may share it.
constexpr int kStaticId = -1;

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text{};              // initial text or label (UTF-8)
    unsigned style = kNoStyle;       // ControlStyle bits
    std::vector<std::string> items{};  // initial list of a combo or list box
    int limit = 0;                   // most characters an edit or combo field takes; 0: no limit
    int buddy = 0;                   // spin: the edit it sets
    int rangeMin = 0, rangeMax = 100;  // spin: initial range
    int bitmap = 0;                  // picture: id of the bitmap it shows
    int x = 0, y = 0, width = 0, height = 0;  // place in the dialog (dialog units)
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Find(int controlId) const;
};

// A named picture resource (bitmap or icon): no pixels, only what it shows.
struct ImageResource {
    int id = 0;
    std::string description;
};

// The templates, bitmaps and icons of the resource module.
class ResourceRegistry {
public:
    static ResourceRegistry& Instance();

    // Adds or replaces a template; a template with id 0, or with two controls of one id (other
    // than kStaticId), is refused (false).
    bool AddDialog(DialogTemplate dialog);
    const DialogTemplate* FindDialog(int id) const;

    void AddBitmap(ImageResource bitmap);
    const ImageResource* FindBitmap(int id) const;
    void AddIcon(ImageResource icon);
    const ImageResource* FindIcon(int id) const;

    void Clear();

private:
    std::vector<DialogTemplate> m_dialogs;
    std::vector<ImageResource> m_bitmaps;
    std::vector<ImageResource> m_icons;
};

}  // namespace host::mfc
