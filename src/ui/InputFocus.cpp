#include "ui/InputFocus.h"

CInputFocus g_inputFocus;
