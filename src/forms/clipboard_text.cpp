// "Copy" of the main window: the state and every result as tab-separated lines.
#include <string>

#include "core/format.h"
#include "forms/main_form.h"

namespace kelvane {

namespace {

// A caption without its trailing "=" and blanks ("P-melt =" -> "P-melt").
std::string Caption(std::string text) {
    while (!text.empty() && (text.back() == '=' || text.back() == ' ')) text.pop_back();
    return text;
}

bool IsNumber(const std::string& text) {
    try {
        ParseStrict(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

// One line; a field that holds a message or nothing has no unit.
void Line(std::string& out, const std::string& caption, const std::string& value, const std::string& unit) {
    out += caption + "\t" + value + "\t" + (IsNumber(value) ? unit : std::string()) + "\n";
}

}  // namespace

std::string MainForm::ClipboardText() const {
    std::string out;
    const int fluid = RadioGroupMatter.index;
    const bool known = fluid >= 0 && fluid < static_cast<int>(RadioGroupMatter.items.size());
    out += "Fluid\t" + (known ? RadioGroupMatter.items[fluid] : std::string()) + "\t\n";
    Line(out, Caption(Label1.text), EditT.text, temperatureLabels[unitT]);
    Line(out, Caption(RadioGroupVar.items[0]), EditP.text, pressureLabels[unitP]);
    Line(out, Caption(RadioGroupVar.items[1]), EditRho.text, DensityUnitLabel());
    if (!EditMes.text.empty()) out += "Message\t" + EditMes.text + "\t\n";

    Line(out, Caption(Label40.text), EditmeltP.text, LabelmeltP.text);
    Line(out, Caption(Label24.text), EditsatuP.text, LabelsatuP.text);
    Line(out, Caption(LabelsatuRhovt.text), EditsatuRhov.text, LabelsatuRhov.text);
    Line(out, Caption(LabelsatuRholt.text), EditsatuRhol.text, LabelsatuRhol.text);

    for (const FieldRow& r : FieldRows()) {
        if (!r.caption) continue;  // the result group's rows
        Line(out, std::string(r.caption) + " " + Caption(r.symbol), (this->*r.field).text, UnitText(r));
    }
    return out;
}

void MainForm::ButtonCopyClick() {
    if (copyText) copyText(ClipboardText());
}

void MainForm::ButtonSaturationClick() {
    if (showSaturationWindow) showSaturationWindow();
}

void MainForm::ButtonPhaseClick() {
    if (showPhaseWindow) showPhaseWindow();
}

}  // namespace kelvane
