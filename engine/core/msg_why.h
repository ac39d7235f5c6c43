// Numbered error messages that carry lines of their own after the catalogue text.
#pragma once

// Shows error id with text as the catalogue formats it, then why on the lines below (the reason
// a file could not be written, say). The answer, as DspErrMsg.
int DspErrMsgWhy(int id, const char* text, const char* why);
