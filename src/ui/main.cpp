#include "ui/application.h"

int main(int argc, char** argv) { return kelvane::ui::Run(argc, argv); }
