// kelvane._engine: the point calculation, the saturation states and the table writer
// of the engine over numpy arrays, for the package kelvane (python/kelvane).
//
// The arrays reach this module flat and of one length (the package broadcasts them).
// Each state is computed by the same functions as the windows and kelvane-cli
// (Calculate, SaturationByTemperature/ByPressure with TwoPhaseState); the loop runs
// without the interpreter lock on worker threads that take fixed chunks of states from
// a shared counter. Every state is computed on its own, so the numbers do not depend
// on the number of threads or on which thread computed which chunk.
//
// Values leave in SI units: molar (mol/m3, J/mol, J/(mol K), m3/mol) or mass (kg/m3,
// J/kg, J/(kg K), m3/kg), converted by the display-unit functions of the forms so that
// they are exactly the numbers kelvane-cli prints in those units.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <mutex>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "core/calculate.h"
#include "core/saturation.h"
#include "fluids/registry.h"
#include "forms/fields.h"
#include "forms/texts.h"
#include "forms/units.h"
#include "kelvane_version.h"

namespace py = pybind11;

namespace kelvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The pairs that fix a state, in the package's numbering.
enum Pair : int { kPairTP = 0, kPairTRho = 1, kPairPH = 2, kPairPS = 3, kPairTX = 4, kPairPX = 5 };

// Whether the engine computes states of the pair.
bool PairSupported(int pair) { return pair >= kPairTP && pair <= kPairPX; }

// Unit indices of the forms that are the SI mass units: kg/m3 and kg.
constexpr int kDensityKgPerM3 = 0;
constexpr int kAmountKg = 1;

using FloatArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The fields of a state that the package returns: every row but the message line.
const std::vector<const FieldRow*>& OutputRows() {
    static const std::vector<const FieldRow*> rows = [] {
        std::vector<const FieldRow*> v;
        for (const FieldRow& r : FieldRows())
            if (r.source != FieldSource::kMessage) v.push_back(&r);
        return v;
    }();
    return rows;
}

// The basis of the values and the unit factors of the fluid, taken once per call from
// the forms' unit functions (a value converted here is the number the program shows).
struct Basis {
    Basis(const FluidConstants& c, bool isMolar)
        : molar(isMolar), density(DensityFactor(c, kDensityKgPerM3)), amount(AmountFactor(c, kAmountKg)) {}
    bool molar;
    double density;  // mol/m3 per kg/m3: DensityToDisplay in kg/m3 divides by it
    double amount;   // kg per mol
};

double Density(const Basis& basis, double rho) { return basis.molar ? rho : rho / basis.density; }

// One of the 14 results in the SI unit of the basis.
double ResultValue(const Basis& basis, UnitKind unit, double v) {
    if (basis.molar) return v;
    switch (unit) {
        case UnitKind::kEnergy:
        case UnitKind::kEntropy: return v / basis.amount;
        case UnitKind::kInverseDensity: return v * basis.density;
        default: return v;  // Z, f/P, W, JT and kappa (per Pa), alpha
    }
}

// The value of the field of `row` for the state r, NaN where the field has no number.
double FieldValue(const FieldRow& row, const PointResult& r, const Basis& basis) {
    const SaturationState& sat = r.saturation;
    const bool satValue = sat.status == Status::kValue;
    switch (row.source) {
        case FieldSource::kTemperature: return r.state.T;
        case FieldSource::kPressure: return r.hasP ? r.state.P : kNaN;
        case FieldSource::kDensity: return r.hasRho ? Density(basis, r.state.rho) : kNaN;
        case FieldSource::kMessage: return kNaN;
        case FieldSource::kMelting: return r.melt.HasValue() ? r.melt.value : kNaN;
        case FieldSource::kSaturationPressure: return satValue ? sat.P : kNaN;
        case FieldSource::kSaturationVapour: return satValue ? Density(basis, sat.rhov) : kNaN;
        case FieldSource::kSaturationLiquid: return satValue ? Density(basis, sat.rhol) : kNaN;
        case FieldSource::kResult:
            if (!r.hasProperties || !r.ResultAvailable(row.index)) return kNaN;
            return ResultValue(basis, row.unit, r.properties.values[row.index]);
        case FieldSource::kSecondary: {
            const Quantity& q = r.properties.secondary[row.index];
            return r.hasProperties && q.HasValue() ? q.value : kNaN;
        }
        case FieldSource::kQuality: return r.quality.HasValue() ? r.quality.value : kNaN;
    }
    return kNaN;
}

// Whether the field of `source` is the first (1) or the second (2) given value of the
// pair, 0 if neither. T, and x of a wet state, are carried by the calculation unchanged.
int Given(int pair, FieldSource source) {
    if (source == FieldSource::kPressure && (pair == kPairPX || pair == kPairPH || pair == kPairPS)) return 1;
    if (source == FieldSource::kPressure && pair == kPairTP) return 2;
    if (source == FieldSource::kDensity && pair == kPairTRho) return 2;
    return 0;
}

// The state of one pair of values (a, b) in the units of the basis.
PointResult ComputeState(const Fluid& fluid, int pair, double a, double b, double wavelength, bool molar) {
    const FluidConstants& c = fluid.constants;
    PointInput in;
    in.wavelength = wavelength;
    switch (pair) {
        case kPairTRho:
            in.inputVar = 1;
            in.T = a;
            in.rho = molar ? b : DensityFromDisplay(c, b, kDensityKgPerM3, true);
            return Calculate(fluid, in);
        case kPairPH:
        case kPairPS: {
            // The enthalpy or the entropy in J/mol, as the program converts a value typed
            // in J/kg.
            in.inputVar = pair == kPairPH ? 2 : 3;
            in.P = a;
            (pair == kPairPH ? in.h : in.s) = molar ? b : b * AmountFactor(c, kAmountKg);
            return Calculate(fluid, in);
        }
        case kPairTX: return TwoPhaseState(fluid, SaturationByTemperature(fluid, a, wavelength), b);
        case kPairPX: return TwoPhaseState(fluid, SaturationByPressure(fluid, a, wavelength), b);
        default:
            in.inputVar = 0;
            in.T = a;
            in.P = b;
            return Calculate(fluid, in);
    }
}

// The messages of a state packed one per byte, first message lowest.
uint32_t PackMessages(const PointResult& r) {
    uint32_t code = 0;
    for (int i = 0; i < r.messageCount && i < 4; ++i) code |= static_cast<uint32_t>(r.messages[i]) << (8 * i);
    return code;
}

// Runs body(i) for i in [0, n) on `threads` threads (0: one per core). Chunks of
// states are taken in turn from a shared counter so that slow regions of a grid do not
// hold up one thread; the first exception of any thread is rethrown here.
template <class Body>
void ParallelFor(size_t n, int threads, const Body& body) {
    constexpr size_t kChunk = 128;
    const size_t chunks = (n + kChunk - 1) / kChunk;
    if (chunks == 0) return;
    size_t count = threads > 0 ? static_cast<size_t>(threads) : std::max(1u, std::thread::hardware_concurrency());
    count = std::min(count, chunks);
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto work = [&] {
        try {
            for (size_t k = next++; k < chunks; k = next++) {
                const size_t end = std::min(n, (k + 1) * kChunk);
                for (size_t i = k * kChunk; i < end; ++i) body(i);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure) failure = std::current_exception();
            next = chunks;
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(count - 1);
    for (size_t t = 1; t < count; ++t) {
        try {
            pool.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the chunks
        }
    }
    work();
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

const Fluid& FluidOf(int index) {
    if (index < 0 || index >= kFluidCount) throw py::value_error("fluid index out of range");
    return FluidAt(index);
}

// compute(fluid, pair, a, b, outputs, molar, threads, wavelength) ->
//   (list of float64 arrays in the order of `outputs`, uint32 message codes, uint8 refused)
// `outputs` holds indices into output_names. A refused state (the calculation gave no
// results) has NaN in every output.
py::tuple Compute(int fluidIndex, int pair, const FloatArray& a, const FloatArray& b, const std::vector<int>& outputs,
                  bool molar, int threads, double wavelength) {
    const Fluid& fluid = FluidOf(fluidIndex);
    if (!PairSupported(pair)) throw py::value_error("pair not computed by this engine");
    if (a.ndim() != 1 || b.ndim() != 1 || a.shape(0) != b.shape(0))
        throw py::value_error("compute takes two flat arrays of one length");
    const auto& rows = OutputRows();
    std::vector<const FieldRow*> selected;
    for (int o : outputs) {
        if (o < 0 || o >= static_cast<int>(rows.size())) throw py::value_error("output index out of range");
        selected.push_back(rows[o]);
    }
    const size_t n = static_cast<size_t>(a.shape(0));
    std::vector<FloatArray> results;
    std::vector<double*> out;
    for (size_t k = 0; k < selected.size(); ++k) {
        results.emplace_back(static_cast<py::ssize_t>(n));
        out.push_back(results.back().mutable_data());
    }
    py::array_t<uint32_t> codes(static_cast<py::ssize_t>(n));
    py::array_t<uint8_t> refused(static_cast<py::ssize_t>(n));
    uint32_t* codeData = codes.mutable_data();
    uint8_t* refusedData = refused.mutable_data();
    const double* av = a.data();
    const double* bv = b.data();
    // What each output takes from a state, decided once: a given value or a field.
    // A given density or pressure is returned as given, as the program shows it as
    // typed: not converted there and back, nor replaced by the equilibrium pressure that
    // a wet state's temperature was solved for.
    struct Output {
        double* data;
        int given;  // 1 or 2: the first or second value of the pair; 0: the field's value
        const FieldRow* row;
    };
    std::vector<Output> plan;
    for (size_t k = 0; k < selected.size(); ++k)
        plan.push_back({out[k], Given(pair, selected[k]->source), selected[k]});
    {
        py::gil_scoped_release release;
        const Basis basis(fluid.constants, molar);
        ParallelFor(n, threads, [&](size_t i) {
            const PointResult r = ComputeState(fluid, pair, av[i], bv[i], wavelength, molar);
            codeData[i] = PackMessages(r);
            const bool isRefused = !r.hasProperties;
            refusedData[i] = isRefused;
            if (isRefused) {
                for (const Output& o : plan) o.data[i] = kNaN;
                return;
            }
            for (const Output& o : plan)
                o.data[i] = o.given == 1 ? av[i] : o.given == 2 ? bv[i] : FieldValue(*o.row, r, basis);
        });
    }
    py::list arrays;
    for (FloatArray& r : results) arrays.append(r);
    return py::make_tuple(arrays, codes, refused);
}

// distinct_codes(codes) -> (the distinct message codes in the order of first
// appearance, the index of each state's code among them): one pass, where a sort of
// all the codes would cost more than the states' own computation on a fast fluid.
py::tuple DistinctCodes(const py::array_t<uint32_t, py::array::c_style | py::array::forcecast>& codes) {
    if (codes.ndim() != 1) throw py::value_error("distinct_codes takes a flat array");
    const size_t n = static_cast<size_t>(codes.shape(0));
    const uint32_t* c = codes.data();
    py::array_t<int32_t> index(static_cast<py::ssize_t>(n));
    int32_t* out = index.mutable_data();
    std::vector<uint32_t> distinct;
    {
        py::gil_scoped_release release;
        uint32_t last = 0;
        int32_t lastIndex = -1;
        for (size_t i = 0; i < n; ++i) {
            if (lastIndex < 0 || c[i] != last) {
                const auto found = std::find(distinct.begin(), distinct.end(), c[i]);
                lastIndex = static_cast<int32_t>(found - distinct.begin());
                if (found == distinct.end()) distinct.push_back(c[i]);
                last = c[i];
            }
            out[i] = lastIndex;
        }
    }
    py::array_t<uint32_t> unique(static_cast<py::ssize_t>(distinct.size()));
    std::copy(distinct.begin(), distinct.end(), unique.mutable_data());
    return py::make_tuple(unique, index);
}

// The names of the saturation outputs: T, P, the densities and every result and
// secondary result of each phase, the enthalpy and entropy of vaporization.
std::vector<std::string> SaturationNames() {
    std::vector<std::string> names = {"T", "P", "rho_vapour", "rho_liquid"};
    for (const FieldRow* row : OutputRows()) {
        if (row->source != FieldSource::kResult && row->source != FieldSource::kSecondary) continue;
        names.push_back(std::string(row->python) + "_vapour");
        names.push_back(std::string(row->python) + "_liquid");
    }
    names.push_back("vaporization_enthalpy");
    names.push_back("vaporization_entropy");
    return names;
}

double PhaseValue(const FieldRow& row, const PropertyResults& p, const Basis& basis) {
    if (row.source == FieldSource::kResult) return ResultValue(basis, row.unit, p.values[row.index]);
    const Quantity& q = p.secondary[row.index];
    return q.HasValue() ? q.value : kNaN;
}

// saturation(fluid, by_pressure, values, molar, threads, wavelength) ->
//   (list of float64 arrays in the order of saturation_names, uint8 message ids)
py::tuple Saturation(int fluidIndex, bool byPressure, const FloatArray& values, bool molar, int threads,
                     double wavelength) {
    const Fluid& fluid = FluidOf(fluidIndex);
    if (values.ndim() != 1) throw py::value_error("saturation takes a flat array");
    const size_t n = static_cast<size_t>(values.shape(0));
    const size_t count = SaturationNames().size();
    std::vector<FloatArray> results;
    std::vector<double*> out;
    for (size_t k = 0; k < count; ++k) {
        results.emplace_back(static_cast<py::ssize_t>(n));
        out.push_back(results.back().mutable_data());
    }
    std::vector<const FieldRow*> rows;
    for (const FieldRow* row : OutputRows())
        if (row->source == FieldSource::kResult || row->source == FieldSource::kSecondary) rows.push_back(row);
    py::array_t<uint8_t> messages(static_cast<py::ssize_t>(n));
    uint8_t* messageData = messages.mutable_data();
    const double* v = values.data();
    {
        py::gil_scoped_release release;
        const Basis basis(fluid.constants, molar);
        ParallelFor(n, threads, [&](size_t i) {
            const SaturationPoint s = byPressure ? SaturationByPressure(fluid, v[i], wavelength)
                                                 : SaturationByTemperature(fluid, v[i], wavelength);
            messageData[i] = static_cast<uint8_t>(s.message);
            if (!s.HasValue()) {
                for (size_t k = 0; k < count; ++k) out[k][i] = kNaN;
                return;
            }
            size_t k = 0;
            out[k++][i] = s.T;
            out[k++][i] = s.P;
            out[k++][i] = Density(basis, s.rhov);
            out[k++][i] = Density(basis, s.rhol);
            for (const FieldRow* row : rows) {
                out[k++][i] = PhaseValue(*row, s.vapour, basis);
                out[k++][i] = PhaseValue(*row, s.liquid, basis);
            }
            out[k++][i] = ResultValue(basis, UnitKind::kEnergy, s.dH);
            out[k++][i] = ResultValue(basis, UnitKind::kEntropy, s.dS);
        });
    }
    py::list arrays;
    for (FloatArray& r : results) arrays.append(r);
    return py::make_tuple(arrays, messages);
}

// The texts of the messages packed in `code`, in order.
std::vector<std::string> MessageTexts(uint32_t code) {
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i) {
        const uint32_t id = (code >> (8 * i)) & 0xff;
        if (id == 0) break;
        if (id >= static_cast<uint32_t>(MessageId::kCount)) throw py::value_error("unknown message id");
        texts.emplace_back(MessageText(static_cast<MessageId>(id)));
    }
    return texts;
}

// table(args) -> (exit code, standard output, standard error) of "kelvane-cli table".
py::tuple Table(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code;
    {
        py::gil_scoped_release release;
        code = RunTableCli(args, out, err);
    }
    return py::make_tuple(code, out.str(), err.str());
}

py::list Fluids() {
    static constexpr const char* kFormulas[kFluidCount] = {"H2O", "MeOH", "CO2"};
    py::list list;
    for (int i = 0; i < kFluidCount; ++i) {
        const Fluid& f = FluidAt(i);
        const FluidConstants& c = f.constants;
        py::dict d;
        d["id"] = f.id;
        d["name"] = c.name;
        d["formula"] = kFormulas[i];
        d["molar_mass"] = c.M / 1000;  // kg/mol
        d["R"] = c.R;
        d["Tc"] = c.Tc;
        d["Pc"] = c.Pc;
        d["rhoc_molar"] = c.rhoc;
        d["rhoc"] = DensityToDisplay(c, c.rhoc, kDensityKgPerM3, true);
        d["Tmin"] = f.limits.Tmin;
        d["Tmax"] = f.limits.Tmax;
        d["Ttriple"] = f.limits.Ttriple;
        d["Pmax"] = f.limits.Pmax;
        list.append(d);
    }
    return list;
}

int FluidIndexNamed(const std::string& name) {
    const Fluid* f = FluidNamed(name);
    return f ? f->index : -1;
}

}  // namespace
}  // namespace kelvane

PYBIND11_MODULE(_engine, m) {
    using namespace kelvane;
    m.doc() = "The Kelvane calculation engine over numpy arrays (used by the package kelvane).";
    m.attr("version") = kVersion;
    std::vector<std::string> names;
    for (const FieldRow* row : OutputRows()) names.emplace_back(row->python);
    m.attr("output_names") = names;
    // The SI unit of each output on a mass and on a molar basis, from the row's unit kind.
    std::vector<std::pair<std::string, std::string>> units;
    for (const FieldRow* row : OutputRows()) units.emplace_back(SiUnit(*row, false), SiUnit(*row, true));
    m.attr("output_units") = units;
    m.attr("saturation_names") = SaturationNames();
    std::vector<int> pairs;
    for (int p = 0; p <= kPairPX; ++p)
        if (PairSupported(p)) pairs.push_back(p);
    m.attr("pairs") = pairs;
    m.def("compute", &Compute, py::arg("fluid"), py::arg("pair"), py::arg("a"), py::arg("b"), py::arg("outputs"),
          py::arg("molar"), py::arg("threads"), py::arg("wavelength"));
    m.def("saturation", &Saturation, py::arg("fluid"), py::arg("by_pressure"), py::arg("values"), py::arg("molar"),
          py::arg("threads"), py::arg("wavelength"));
    m.def("message_texts", &MessageTexts, py::arg("code"));
    m.def("distinct_codes", &DistinctCodes, py::arg("codes"));
    m.def("table", &Table, py::arg("args"));
    m.def("fluids", &Fluids);
    m.def("fluid_index", &FluidIndexNamed, py::arg("name"));
}
