#include "audio/WAVStream.h"

void StartStreaming() {}
void EndStreaming() {}
