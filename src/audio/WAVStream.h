// Streaming playback through a ring buffer fed by a worker thread.
#pragma once

void StartStreaming();
void EndStreaming();
