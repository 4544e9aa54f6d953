// The text "Copy" puts on the clipboard: caption TAB value TAB unit for the fluid, the
// state and every result, in the units shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fluids/registry.h"
#include "forms/main_form.h"

using namespace kelvane;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        f.RadioGroupVar.index = 0;
        f.RadioGroupVarClick();
        f.EditT.text = "300";
        f.EditP.text = "10";
        f.ButtonCalcClick();
        ASSERT_TRUE(f.EditMes.text.empty());
    }
    MainForm f;
};

}  // namespace

TEST_F(Clipboard, StateAndEveryResultAsTabSeparatedLines) {
    const std::string text = f.ClipboardText();
    std::string copied;
    f.copyText = [&copied](const std::string& t) { copied = t; };
    f.ButtonCopyClick();
    EXPECT_EQ(copied, text);

    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 1u + 3 + 4 + 20);
    for (const std::string& l : lines) EXPECT_EQ(std::count(l.begin(), l.end(), '\t'), 2) << l;
    EXPECT_EQ(lines[0], "Fluid\tWater\t");
    EXPECT_EQ(lines[1], "T\t300\tK");
    EXPECT_EQ(lines[2], "P\t10\tMPa");
    EXPECT_EQ(lines[3], "rho\t" + f.EditRho.text + "\tkg / m3");
    EXPECT_EQ(lines[4], "P-melt\tNot treat.\t");  // a message has no unit
    EXPECT_EQ(lines[5], "P-satu\t" + f.EditsatuP.text + "\tMPa");
    EXPECT_EQ(lines[7], "rho-liq\t" + f.EditsatuRhol.text + "\tkg / m3");
    EXPECT_EQ(lines[8], "Internal Energy U\t" + f.EditU.text + "\tJ / mol");
    EXPECT_EQ(lines[14], "Isobaric Spec. Heat Cp\t" + f.EditCp.text + "\tJ / (mol K)");
    EXPECT_EQ(lines[15], "Compression Factor Z\t" + f.EditZ.text + "\t");
    EXPECT_EQ(lines[19], "Second Virial Coef. C2(T)\t" + f.EditC2.text + "\tm3 / kg");
    EXPECT_EQ(lines[27], "Refractive Index n(l)\t" + f.Editn.text + "\tat 589 nm");
    EXPECT_FALSE(f.EditCp.text.empty());
}

TEST_F(Clipboard, FollowsUnitsVolumeModeAndMessages) {
    f.ButtonXRhoVClick();
    f.ComboBoxUnit.Select(1);
    f.ComboBoxUnitChange();
    std::vector<std::string> lines = Lines(f.ClipboardText());
    EXPECT_EQ(lines[3], "V\t" + f.EditRho.text + "\tm3 / kg");
    EXPECT_EQ(lines[6], "V-gas\t" + f.EditsatuRhov.text + "\tm3 / kg");
    EXPECT_EQ(lines[9], "Enthalpy H\t" + f.EditH.text + "\tJ / kg");

    f.EditT.text = "200";
    f.ButtonCalcClick();
    lines = Lines(f.ClipboardText());
    ASSERT_EQ(lines.size(), 1u + 3 + 1 + 4 + 20);
    EXPECT_EQ(lines[4], "Message\t" + f.EditMes.text + "\t");
    EXPECT_EQ(lines[10], "Enthalpy H\t\t");
}
