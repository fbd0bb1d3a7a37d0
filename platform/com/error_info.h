// A failed call's reason in words, beside its status code, as the component
// runtime's error object carries it: the callee that knows why sets it on
// the calling thread, the caller clears it before the call and takes it
// after a failure to show the operator ("the kernel carries DiSEqC messages
// of 3 to 6 bytes"). Per thread.
#pragma once

#include <string>

void SetErrorDescription(std::string text);
void ClearErrorDescription();
// The description set since the last clear, and clears it; empty for none.
std::string TakeErrorDescription();
