#pragma once

// Read by Instalador.rc and by the code.
#define INSTALADOR_VERSION_MAJOR 1
#define INSTALADOR_VERSION_MINOR 0
#define INSTALADOR_VERSION_PATCH 0
#define INSTALADOR_VERSION_BUILD 35
#define INSTALADOR_VERSION_TEXT "1.0.0.35"
#define INSTALADOR_DESCRIPTION "Atualizador do Lumivar"
#define INSTALADOR_COMPANY "Brenvalt"
