// Toolkit-free state of window controls. The window classes hold these under the
// controls' names; the Qt windows mirror them onto real widgets.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace kelvane {

// Background of an edit field: the window colour (editable) or the button face
// (read-only or disabled).
enum class ColorRole { Window, ButtonFace };

struct EditField {
    std::string text;
    bool readOnly = false;
    bool enabled = true;
    ColorRole color = ColorRole::Window;
    std::string hint = {};  // tooltip; empty for none
};

struct Label {
    std::string text;
    bool enabled = true;
};

struct ComboBox {
    std::vector<std::string> items;
    int index = -1;    // selected item, -1 when the shown text is no item
    std::string text;  // the shown text
    bool enabled = true;

    void Select(int i) {
        index = i;
        text = (i >= 0 && i < static_cast<int>(items.size())) ? items[i] : std::string();
    }
};

struct RadioGroup {
    std::string caption;
    std::vector<std::string> items;
    int index = -1;
};

struct Button {
    std::string caption;
    bool enabled = true;
};

// A list of items, each with a check mark (several may be chosen). The checked items
// are kept in the order they were checked.
struct CheckList {
    std::vector<std::string> items;
    std::vector<int> order;  // checked items, first checked first
    bool enabled = true;

    bool Checked(int i) const { return std::find(order.begin(), order.end(), i) != order.end(); }
    void Check(int i, bool on) {
        if (i < 0 || i >= static_cast<int>(items.size()) || Checked(i) == on) return;
        if (on)
            order.push_back(i);
        else
            order.erase(std::find(order.begin(), order.end(), i));
    }
    const std::vector<int>& Chosen() const { return order; }
};

struct CheckBox {
    std::string caption;
    bool checked = false;
    bool enabled = true;
};

}  // namespace kelvane
