#include "ui/about_text.h"

namespace kelvane::ui {

const std::vector<std::string>& ReferenceLines() {
    static const std::vector<std::string> lines = {
        "[WATER]",
        "<Equation of State, Viscosity, Thermal Conductivity, Relative ",
        "Dielectric Const., Refractive Index>",
        "W. Wagner and A. Kruse",
        "\"Properties of Water and Steam\"",
        "(Springer-Verlag, Berlin, 1998)",
        "",
        "<Ion Product>",
        "W. L. Marshall and E. U. Franck",
        "\"Ion Product of Water Substance, 0-1000 degC, 1-10000 Bars, ",
        "New International Formulation and Its Background\"",
        "J. Phys. Chem. Ref. Data 10, pp. 295-304 (1981)",
        "",
        "[METHANOL]",
        "<Equation of State>",
        "K. M. de Reuck and R. J. B. Craven",
        "\"Methanol, International Thermodynamic Tables of the Fluid ",
        "State Vol. 12\" (Blackwell Scientific Publications, 1993)",
        "",
        "[CARBON DIOXIDE]",
        "<Equation of State>",
        "R. Span and W. Wagner",
        "\"A New Equation of State for Carbon Dioxide covering the Fluid ",
        "Region",
        "from the Triple Point Temperature to 1100 K at Pressures up to ",
        "800 MPa\"",
        "J. Phys. Chem. Ref. Data 25, pp. 1509-1596 (1996)",
        "",
        "<Viscosity>",
        "A. Fenghour, W. A. Wakeham and V. Vesovic",
        "\"The Viscosity of Carbon Dioxide\"",
        "J. Phys. Chem. Ref. Data 27, pp. 31-44 (1998)",
        "",
        "<Thermal Conductivity, Viscosity>",
        "V. Vesovic, W. A. Wakeham, G. A. Olchowy, J. V. Sengers, ",
        "J. T. R. Watson and J. Millat",
        "\"The Transport Properties of Carbon Dioxide\"",
        "J. Phys. Chem. Ref. Data 19, pp. 763-808 (1990)",
    };
    return lines;
}

}  // namespace kelvane::ui
