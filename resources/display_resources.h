// Resource ids of the display windows' pictures, shared by glintora.rc and the code.
#pragma once

#define GLINTORA_IDB_SPLASH 101
#define GLINTORA_IDB_LOGO 102
