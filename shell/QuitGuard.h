#pragma once

// Whether Quit may end the program: true when no document window holds
// unsaved changes, or when the user, asked once about all of them, chose to
// quit anyway. The question counts the untitled documents and names the
// others; Cancel is its default.
bool QuitMayDiscardUnsavedWork();
