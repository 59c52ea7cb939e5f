#pragma once

// Shared by Instalador.rc and the code.
#define IDI_APPLICATION_ICON 1
#define IDR_LOGO 101
#define IDR_FEATURE1 102
#define IDR_FEATURE2 103
#define IDR_FEATURE3 104
#define IDR_FEATURE4 105
#define IDR_FEATURE5 106
#define IDR_HEADER 107
