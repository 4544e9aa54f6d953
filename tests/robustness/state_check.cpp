#include "state_check.h"

#include <cmath>

#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "forms/texts.h"

namespace kelvane::robustness {

namespace {

struct FluidMessages {
    std::vector<std::string> temperature;  // CheckTemperature: nothing else is shown
    std::vector<std::string> state;        // CheckState: the calculation stops
    std::vector<std::string> melting;      // texts of the melting field
};

const FluidMessages& Messages(int fluid) {
    static const FluidMessages messages[kFluidCount] = {
        {{"Not applied to the range less than 273.15 K.", "Not applied to the range more than 2273.15 K."},
         {"This density is not inadequate.", "Not applied to the range more than 100 MPa.",
          "Not applied to the range more than 10 MPa in 1073.15 K < T <= 2273.15 K."},
         {"Not treat."}},
        {{"Not applied to the range less than Tt (175.61 K).", "Not applied to the range more than 620 K."},
         {"Suppose to freeze.", "This density is not adequate.", "Not applied to the range more than 800 MPa.",
          "Not applied to the range more than 250 MPa in 207 K < T < 300 K.",
          "Not applied to the range more than 0.2 MPa in 570 K < T <= 620 K."},
         {">250MPa"}},
        {{"Not applied to the range less than 216 K.", "Not applied to the range more than 1100 K."},
         {"Suppose to freeze.", "This density is not inadequate.", "Not applied to the range more than 800 MPa."},
         {">800MPa"}},
    };
    return messages[fluid];
}

bool IsNumber(const std::string& text) {
    try {
        ParseStrict(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

bool IsNonFinite(const std::string& text) { return text == "NAN" || text == "INF" || text == "-INF"; }

bool OneOf(const std::string& text, const std::vector<std::string>& list) {
    for (const std::string& s : list)
        if (text == s) return true;
    return false;
}

// Removes `prefix` from the front of `text` when it is there.
bool Take(std::string& text, const std::string& prefix) {
    if (text.rfind(prefix, 0) != 0) return false;
    text.erase(0, prefix.size());
    return true;
}

const char* const kPropertyFields[] = {"EditF", "EditU",  "EditH", "EditG",  "EditS",  "EditCv",    "EditCp",
                                       "EditZ", "EditFP", "EditW", "EditJT", "EditC2", "Editalpha", "Editkappa"};
const char* const kSecondaryFields[] = {"EditEps", "EditVisc", "EditTherc", "EditDth", "EditKw", "Editn"};

}  // namespace

const FluidRange& Range(int fluid) {
    // clang-format off
    static const FluidRange ranges[kFluidCount] = {
        {"Water", 273.15, 2273.15, 100, 1100, 647.096, 22.064, 322, {373.124, 623.15, 1073.15, 1073.16, 1386, 1500},
         {10, 16.529, 22.064, 50, 100}},
        {"Methanol", 175.61, 620, 800, 1100, 512.6, 8.1035, 275.5632, {207, 208, 299.99, 300, 570, 570.01},
         {0.2, 8.1035, 250, 800}},
        {"CO2", 216, 1100, 800, 1600, 304.1282, 7.3773, 467.6, {216.592, 216.6, 304.124, 304.1282, 304.13},
         {0.51795, 7.3773, 800}},
    };
    // clang-format on
    return ranges[fluid];
}

void RunPoint(MainForm& form, int fluid, int mode, const std::string& T, const std::string& value) {
    if (form.RadioGroupMatter.index != fluid || form.calc.fluid != fluid) {
        form.RadioGroupMatter.index = fluid;
        form.RadioGroupMatterClick();
    }
    // Mode 2: density given as a specific volume.
    if (form.densityMode != (mode != 2)) {
        form.EditRho.text = "1";
        form.ButtonXRhoVClick();
    }
    const int selector = mode == 0 ? 0 : 1;
    if (form.RadioGroupVar.index != selector) {
        form.RadioGroupVar.index = selector;
        form.RadioGroupVarClick();
    }
    form.EditT.text = T;
    (mode == 0 ? form.EditP : form.EditRho).text = value;
    form.ButtonCalcClick();
}

Saturation SaturationAt(int fluid, double T) {
    const Fluid& f = FluidAt(fluid);
    const SaturationState s = f.ops.Saturation(f.constants.Tred / T, T);
    if (s.status != Status::kValue) return {};
    const double toKgPerM3 = f.constants.M / 1000;
    return {s.P / 1e6, s.rhov * toKgPerM3, s.rhol * toKgPerM3};
}

Verdict Judge(const MainForm& form, int fluid, int mode) {
    Verdict v;
    MainForm& f = const_cast<MainForm&>(form);
    auto text = [&](const char* name) -> const std::string& { return f.FieldByName(name)->text; };
    auto problem = [&](const std::string& what) { v.problems.push_back(what); };
    const FluidMessages& m = Messages(fluid);

    // The message line: a temperature message alone, or the two-phase warning and/or
    // a state message or the zero-state message.
    std::string rest = text("EditMes");
    bool temperatureStop = false, stateStop = false, zero = false, warning = false;
    if (OneOf(rest, m.temperature)) {
        temperatureStop = true;
        rest.clear();
    } else {
        warning = Take(rest, MainForm::kTwoPhaseWarning);
        if (Take(rest, MainForm::kZeroStateMessage) || Take(rest, MainForm::kNoPressureMessage)) zero = true;
        for (const std::string& s : m.state)
            if (Take(rest, s)) stateStop = true;
        v.unstable = Take(rest, MessageText(MessageId::kUnstable));
        Take(rest, MessageText(MessageId::kWavelengthNotPositive));
        Take(rest, MessageText(MessageId::kWavelengthOutOfRange));
        v.notDefined = Take(rest, MessageText(MessageId::kNotDefined));
    }
    if (!rest.empty()) problem("unknown message text \"" + rest + "\" in \"" + text("EditMes") + "\"");

    // The 14 properties: all or none.
    int filled = 0;
    for (const char* name : kPropertyFields) {
        const std::string& t = text(name);
        if (t.empty()) continue;
        ++filled;
        const std::string field = name;
        const bool unstableField =
            field == "EditCp" || field == "EditW" || field == "EditJT" || field == "Editalpha" || field == "Editkappa";
        if (t == "N/A" && ((v.unstable && unstableField) || v.notDefined)) continue;
        if (t == "N/A")
            problem(field + " holds \"N/A\" without the message that says why");
        else if (unstableField && v.unstable)
            problem(field + " holds a number at an unstable state");
        else if (IsNonFinite(t))
            v.nonFinite.push_back(name);
        else if (!IsNumber(t))
            problem(std::string(name) + " holds \"" + t + "\"");
    }
    v.computed = filled == 14;
    if (filled != 0 && filled != 14) problem(std::to_string(filled) + " of 14 property fields filled");
    if (v.computed && (temperatureStop || stateStop || zero))
        problem("properties shown together with the stop message \"" + text("EditMes") + "\"");
    if (!v.computed && filled == 0 && !temperatureStop && !stateStop && !zero && !warning)
        problem("no properties and no message");

    // Melting and saturation: shown once the temperature is accepted.
    const std::string& melt = text("EditmeltP");
    if (temperatureStop) {
        if (!melt.empty()) problem("melting pressure shown after a temperature message");
    } else if (!(IsNumber(melt) || OneOf(melt, m.melting))) {
        problem("EditmeltP holds \"" + melt + "\"");
    }
    const std::string& sp = text("EditsatuP");
    for (const char* name : {"EditsatuP", "EditsatuRhov", "EditsatuRhol"}) {
        const std::string& t = text(name);
        if (temperatureStop) {
            if (!t.empty()) problem(std::string(name) + " shown after a temperature message");
            continue;
        }
        const bool number = IsNumber(t) && ParseStrict(t) > 0;
        const bool message = t == "over Tc" || t == "N/A";
        if (!number && !message) problem(std::string(name) + " holds \"" + t + "\"");
        if (message && t != sp) problem("saturation fields disagree: \"" + sp + "\" and \"" + t + "\"");
    }

    // The solved input: the density in pressure mode once the state is accepted, the
    // pressure in density mode once the two-phase test lets the calculation go on.
    if (mode == 0) {
        const std::string& rho = text("EditRho");
        const bool expected = !temperatureStop && !stateStop && !zero;
        if (expected && !(IsNumber(rho) || IsNonFinite(rho))) problem("EditRho holds \"" + rho + "\"");
        if (!expected && !rho.empty()) problem("EditRho filled after a stop: \"" + rho + "\"");
        if (IsNonFinite(rho)) v.nonFinite.push_back("EditRho");
    } else {
        const std::string& p = text("EditP");
        const bool expected = v.computed || stateStop;
        if (expected && !(IsNumber(p) || IsNonFinite(p))) problem("EditP holds \"" + p + "\"");
        if ((temperatureStop || zero) && !p.empty()) problem("EditP filled after a stop: \"" + p + "\"");
        if (IsNonFinite(p)) v.nonFinite.push_back("EditP");
    }

    // Secondary results: water fills all six, carbon dioxide and methanol viscosity,
    // conductivity and diffusivity; nothing when no properties were computed. Methanol's
    // accepted states all lie inside its viscosity correlation's range, so its viscosity
    // is always a number; its conductivity and diffusivity are numbers or both "N/A".
    for (const char* name : kSecondaryFields) {
        const std::string& t = text(name);
        const std::string field = name;
        bool expected = false, allowEmpty = false;
        std::vector<std::string> texts;
        if (v.computed && fluid == 0) {
            expected = true;
            if (field == "EditTherc" || field == "EditDth") texts = {"N/A"};
        } else if (v.computed && fluid == 1) {
            if (field == "EditVisc") {
                expected = true;
            } else if (field == "EditTherc" || field == "EditDth") {
                expected = true;
                texts = {"N/A"};
                if ((t == "N/A") != (text("EditTherc") == "N/A")) problem(field + " and EditTherc disagree on N/A");
            }
        } else if (v.computed && fluid == 2) {
            if (field == "EditVisc") {
                expected = true;
                texts = {"Not treat."};
            } else if (field == "EditTherc") {
                expected = true;
                texts = {"N/A"};
            } else if (field == "EditDth") {
                expected = true;
                allowEmpty = text("EditTherc") == "N/A";
            }
        }
        if (!expected) {
            if (!t.empty()) problem(field + " filled: \"" + t + "\"");
            continue;
        }
        if (t.empty() && allowEmpty) continue;
        if (t == "N/A" && v.notDefined) continue;
        if (IsNonFinite(t)) {
            v.nonFinite.push_back(field);
            continue;
        }
        const bool bracketed = field == "EditVisc" && fluid == 2 && t.rfind("N/A (", 0) == 0 && t.back() == ')' &&
                               IsNumber(t.substr(5, t.size() - 6));
        if (!IsNumber(t) && !OneOf(t, texts) && !bracketed) problem(field + " holds \"" + t + "\"");
    }
    return v;
}

}  // namespace kelvane::robustness
