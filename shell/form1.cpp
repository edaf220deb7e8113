#include "shell/form1.h"

#include "monitor/memory_watch.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(FormWindow& window, Memo& memo, TimerDevice& timer)
    : Memo1(memo), Timer1(timer, kMemoryCheckIntervalMs), window_(window) {}
