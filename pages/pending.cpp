// Placeholder page builders until the information pages are written.
#include "window/KESTOR_11.h"

void KESTOR_11::UTILIS() { INVISIBLE(); }
void KESTOR_11::RADIO() { INVISIBLE(); }
void KESTOR_11::STAT() { INVISIBLE(); }
void KESTOR_11::APROPOS() { INVISIBLE(); }
