#pragma once

// The one Qt application of a test program, made on first use. A plain one, for the
// layers below the toolkit.
void EnsureQtApp();

// The same through the toolkit, so the error guard around event handlers is in place.
void EnsureToolkitApp();
