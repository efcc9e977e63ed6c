#include "TForm1.h"

void TForm1::wireAnalysis() {}
void TForm1::BuildFunctionIndex() {}
void TForm1::syntaxcolorClick() {}
