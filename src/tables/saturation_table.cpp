#include "tables/saturation_table.h"

#include <cmath>

#include "core/format.h"
#include "forms/main_form.h"
#include "forms/texts.h"
#include "forms/units.h"

namespace kelvane {

namespace {

using Kind = SaturationColumn::Kind;

std::vector<SaturationColumn> MakeColumns() {
    std::vector<SaturationColumn> c = {
        {"T", Kind::kT, nullptr, false},
        {"P", Kind::kP, nullptr, false},
        {"dH", Kind::kDH, nullptr, false},
        {"dS", Kind::kDS, nullptr, false},
    };
    for (const FieldRow& r : FieldRows()) {
        if (r.source != FieldSource::kDensity && r.source != FieldSource::kResult &&
            r.source != FieldSource::kSecondary)
            continue;
        c.push_back({r.TsvName() + "_liq", Kind::kPhase, &r, false});
        c.push_back({r.TsvName() + "_vap", Kind::kPhase, &r, true});
    }
    return c;
}

// One phase of p as a point result, so that its cells are the point output's texts.
PointResult PhaseResult(const SaturationPoint& p, bool vapour) {
    PointResult r;
    r.state.T = p.T;
    r.state.P = p.P;
    r.state.rho = vapour ? p.rhov : p.rhol;
    r.hasP = r.hasRho = r.hasProperties = true;
    r.properties = vapour ? p.vapour : p.liquid;
    return r;
}

bool Given(const SaturationColumn& c, bool byPressure) { return c.kind == (byPressure ? Kind::kP : Kind::kT); }

std::string Quoted(const std::string& cell, bool csv) {
    if (!csv || cell.find_first_of(",\"\n") == std::string::npos) return cell;
    std::string q = "\"";
    for (char ch : cell) {
        if (ch == '"') q += '"';
        q += ch;
    }
    return q + "\"";
}

double Number(const std::string& text) {
    try {
        return ParseStrict(text);
    } catch (const ConversionError&) {
        return std::nan("");
    }
}

}  // namespace

const std::vector<SaturationColumn>& SaturationColumns() {
    static const std::vector<SaturationColumn> columns = MakeColumns();
    return columns;
}

const SaturationColumn* SaturationColumnNamed(std::string_view name) {
    for (const SaturationColumn& c : SaturationColumns())
        if (c.name == name) return &c;
    return nullptr;
}

std::string SaturationColumnNames() {
    std::string s;
    for (const SaturationColumn& c : SaturationColumns()) s += (s.empty() ? "" : ",") + c.name;
    return s;
}

std::vector<const SaturationColumn*> DefaultSaturationColumns(const Fluid& fluid) {
    std::vector<std::string> names = {"T",     "P",     "Rho_liq", "Rho_vap", "H_liq", "H_vap", "dH",
                                      "S_liq", "S_vap", "Cp_liq",  "Cp_vap",  "W_liq", "W_vap"};
    // Viscosity and thermal conductivity where the fluid's model has them.
    const SaturationPoint probe = SaturationByTemperature(fluid, fluid.limits.Tmin);
    if (probe.HasValue() && probe.liquid.secondary[kEtha].status != Status::kUnset)
        names.insert(names.end(), {"Visc_liq", "Visc_vap", "Therc_liq", "Therc_vap"});
    std::vector<const SaturationColumn*> c;
    for (const std::string& n : names) c.push_back(SaturationColumnNamed(n));
    return c;
}

std::string SaturationColumnUnit(const SaturationColumn& column, const MainForm& form) {
    switch (column.kind) {
        case Kind::kT: return form.temperatureLabels[form.unitT];
        case Kind::kP: return form.pressureLabels[form.unitP];
        case Kind::kDH: return form.LabelH.text;
        case Kind::kDS: return form.LabelS.text;
        case Kind::kPhase: return form.UnitText(*column.row);
    }
    return "";
}

std::string SaturationCell(const SaturationColumn& column, const SaturationPoint& p, const DisplayUnits& u) {
    if (!p.HasValue()) return MessageText(p.message);
    const FluidConstants& c = *u.constants;
    switch (column.kind) {
        case Kind::kT: return FormatResult(TemperatureFromK(c, u.unitT, p.T), u.precise);
        case Kind::kP: return FormatResult(p.P / PressureFactor(c, u.unitP), u.precise);
        case Kind::kDH: return FormatResult(p.dH / AmountFactor(c, u.unitAmount), u.precise);
        case Kind::kDS: return FormatResult(p.dS / AmountFactor(c, u.unitAmount), u.precise);
        case Kind::kPhase: return FieldText(*column.row, PhaseResult(p, column.vapour), u);
    }
    return "";
}

double SaturationCellValue(const SaturationColumn& column, const SaturationPoint& p, const DisplayUnits& u) {
    if (!p.HasValue()) return std::nan("");
    DisplayUnits precise = u;
    precise.precise = true;
    return Number(SaturationCell(column, p, precise));
}

SaturationSettings SettingsOf(const MainForm& form) {
    SaturationSettings s;
    s.fluid = &form.SelectedFluid();
    s.units = form.Units();
    const double wavelength = ParseLeading(form.Editnlambda.text);
    s.wavelength = wavelength != 0 ? wavelength : 589;
    return s;
}

SaturationPoint SaturationOfGiven(const SaturationSettings& s, bool byPressure, double given) {
    const FluidConstants& c = s.fluid->constants;
    if (byPressure) return SaturationByPressure(*s.fluid, given * PressureFactor(c, s.units.unitP), s.wavelength);
    return SaturationByTemperature(*s.fluid, TemperatureToK(c, s.units.unitT, given), s.wavelength);
}

std::vector<std::string> SaturationRow(const SaturationSettings& s, const std::vector<const SaturationColumn*>& columns,
                                       bool byPressure, double given, const SaturationPoint& p) {
    std::vector<std::string> cells;
    for (const SaturationColumn* c : columns) {
        // The given value as given; a computed one would show its round trip.
        if (Given(*c, byPressure))
            cells.push_back(FormatResult(given, s.units.precise));
        else
            cells.push_back(SaturationCell(*c, p, s.units));
    }
    return cells;
}

std::string SaturationTableText(const SaturationTable& table, bool csv) {
    const char sep = csv ? ',' : '\t';
    auto line = [&](const std::vector<std::string>& cells) {
        std::string l;
        for (size_t i = 0; i < cells.size(); ++i) l += (i ? std::string(1, sep) : "") + Quoted(cells[i], csv);
        return l + "\n";
    };
    std::vector<std::string> names;
    for (const SaturationColumn* c : table.columns) names.push_back(c->name);
    std::string text = line(names) + line(table.units);
    for (const auto& row : table.cells) text += line(row);
    return text;
}

std::string SaturationTableRange(const SaturationTable& table, int firstRow, int lastRow, int firstColumn,
                                 int lastColumn) {
    std::string text;
    for (int r = std::max(firstRow, 0); r <= lastRow && r < static_cast<int>(table.cells.size()); ++r) {
        const auto& row = table.cells[r];
        for (int c = std::max(firstColumn, 0); c <= lastColumn && c < static_cast<int>(row.size()); ++c)
            text += (c > std::max(firstColumn, 0) ? "\t" : "") + row[c];
        text += "\n";
    }
    return text;
}

ChartData SaturationPlot(const SaturationTable& table, const SaturationSettings& s, int column, bool againstPressure) {
    ChartData chart;
    if (column < 0 || column >= static_cast<int>(table.columns.size())) return chart;
    const SaturationColumn& c = *table.columns[column];
    const FluidConstants& k = s.fluid->constants;
    const std::string& unit = column < static_cast<int>(table.units.size()) ? table.units[column] : std::string();
    chart.title = std::string(k.name) + ": " + c.name + " at saturation";
    chart.xTitle = againstPressure ? "P / " + UnitLabel(UnitKind::kPressure, s.units)
                                   : "T / " + UnitLabel(UnitKind::kTemperature, s.units);
    chart.yTitle = unit.empty() ? c.name : c.name + " / " + unit;
    ChartCurve curve;
    curve.name = c.name;
    curve.style = CurveStyle::LineWithPoints;
    curve.segments.emplace_back();
    for (size_t i = 0; i < table.points.size() && i < table.cells.size(); ++i) {
        const SaturationPoint& p = table.points[i];
        const double y = column < static_cast<int>(table.cells[i].size()) ? Number(table.cells[i][column]) : NAN;
        if (!p.HasValue() || !std::isfinite(y)) {
            if (!curve.segments.back().empty()) curve.segments.emplace_back();
            continue;
        }
        const double x =
            againstPressure ? p.P / PressureFactor(k, s.units.unitP) : TemperatureFromK(k, s.units.unitT, p.T);
        curve.segments.back().push_back({x, y});
    }
    if (curve.segments.back().empty()) curve.segments.pop_back();
    chart.curves.push_back(curve);
    return chart;
}

}  // namespace kelvane
