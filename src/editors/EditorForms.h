#pragma once
// Makes the main window open the board list window and the discovery window from its menu.

class TMainForm;

void RegisterEditorForms();
