#include "shell/form1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(FormWindow& window, Memo& memo) : Memo1(memo), window_(window) {}
