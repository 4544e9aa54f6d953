#include "forms/texts.h"

#include "core/format.h"
#include "forms/main_form.h"

namespace kelvane {

const char* MessageText(MessageId id) {
    switch (id) {
        case MessageId::kNone: return "";
        case MessageId::kModelMissing: return "The model of this fluid is not available.";
        case MessageId::kTwoPhase: return MainForm::kTwoPhaseWarning;
        case MessageId::kZeroState: return MainForm::kZeroStateMessage;
        case MessageId::kNoPressure: return MainForm::kNoPressureMessage;
        case MessageId::kDensityNotInadequate: return "This density is not inadequate.";
        case MessageId::kDensityNotAdequate: return "This density is not adequate.";
        case MessageId::kFreeze: return "Suppose to freeze.";
        case MessageId::kWaterBelowT: return "Not applied to the range less than 273.15 K.";
        case MessageId::kWaterAboveT: return "Not applied to the range more than 2273.15 K.";
        case MessageId::kWaterAbove100MPa: return "Not applied to the range more than 100 MPa.";
        case MessageId::kWaterAbove10MPaHot:
            return "Not applied to the range more than 10 MPa in 1073.15 K < T <= 2273.15 K.";
        case MessageId::kMethanolBelowT: return "Not applied to the range less than Tt (175.61 K).";
        case MessageId::kMethanolAboveT: return "Not applied to the range more than 620 K.";
        case MessageId::kAbove800MPa: return "Not applied to the range more than 800 MPa.";
        case MessageId::kMethanolAbove250MPaCold: return "Not applied to the range more than 250 MPa in 207 K < T < 300 K.";
        case MessageId::kMethanolAbove02MPaHot: return "Not applied to the range more than 0.2 MPa in 570 K < T <= 620 K.";
        case MessageId::kCo2BelowT: return "Not applied to the range less than 216 K.";
        case MessageId::kCo2AboveT: return "Not applied to the range more than 1100 K.";
        case MessageId::kWaterBelowSaturationRange:
            return "Not applied to the range less than the saturation pressure at 273.15 K.";
        case MessageId::kMethanolBelowSaturationRange:
            return "Not applied to the range less than the saturation pressure at Tt (175.61 K).";
        case MessageId::kCo2BelowSaturationRange:
            return "Not applied to the range less than the saturation pressure at 216 K.";
        case MessageId::kSaturationOverTc: return "over Tc";
        case MessageId::kSaturationNotAvailable: return "N/A";
        case MessageId::kSaturationOverPc: return "over Pc";
        case MessageId::kQualityRange: return "The vapour fraction x should be between 0 and 1.";
        case MessageId::kNoStateOnIsobar: return "No accepted state has this enthalpy or entropy at this pressure.";
        case MessageId::kCount: break;
    }
    return "";
}

std::string MessageLine(const PointResult& r) {
    std::string line;
    for (int i = 0; i < r.messageCount; ++i) line += MessageText(r.messages[i]);
    return line;
}

std::string StatusText(const Quantity& q) {
    switch (q.status) {
        case Status::kUnset: return "";
        case Status::kValue: return FormatDisplay(q.value);
        case Status::kOverTc: return "over Tc";
        case Status::kNotAvailable: return "N/A";
        case Status::kNotAvailableBackground: return "N/A (" + FormatDisplay(q.value) + ")";
        case Status::kNotTreated: return "Not treat.";
        case Status::kAbove250MPa: return ">250MPa";
        case Status::kAbove800MPa: return ">800MPa";
        case Status::kOverPc: return "over Pc";
    }
    return "";
}

}  // namespace kelvane
