#pragma once
// The board list window and the discovery window, made for the main window's menu and wired to
// its link, status line, file dialogs and Exit.

#include "app/MainForm.h"

#include <memory>

std::shared_ptr<TChildFormFactory> MakeChildFormFactory();
