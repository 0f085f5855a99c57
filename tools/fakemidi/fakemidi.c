/* Test double for a MIDI synthesiser: a native midimap.dll for Wine's winmm. There is no MIDI
 * device in a container, so the media control interface's sequencer would never finish a play.
 * This mapper offers one device ("Fake MIDI Logger"), accepts what the sequencer sends and logs
 * every event with a time stamp (ms) to %FAKEMIDI_LOG% or C:\fakemidi.log. It makes no sound.
 * Installed as system32\midimap.dll; programs load it with WINEDLLOVERRIDES="...;midimap=n". */
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>
#include <stdio.h>

BOOL WINAPI DriverCallback(DWORD_PTR, DWORD, HDRVR, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR);

static MIDIOPENDESC desc;
static DWORD cbFlags;
static int isOpen;
static FILE* logFile;
static DWORD t0;

static void logLine(const char* text, DWORD value)
{
    if (!logFile) {
        char p[MAX_PATH];
        if (!GetEnvironmentVariableA("FAKEMIDI_LOG", p, MAX_PATH)) strcpy(p, "C:\\fakemidi.log");
        logFile = fopen(p, "a");
    }
    if (logFile) {
        fprintf(logFile, "%8lu %s %06lx\n", GetTickCount() - t0, text, value);
        fflush(logFile);
    }
}

static void notify(UINT msg, DWORD_PTR p1)
{
    DriverCallback(desc.dwCallback, HIWORD(cbFlags), (HDRVR)desc.hMidi, msg, desc.dwInstance, p1, 0);
}

LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR h, UINT msg, LPARAM p1, LPARAM p2)
{
    switch (msg) {
    case DRV_LOAD: case DRV_FREE: case DRV_OPEN: case DRV_CLOSE: case DRV_ENABLE: case DRV_DISABLE: return 1;
    case DRV_INSTALL: case DRV_REMOVE: return DRVCNF_OK;
    case DRV_QUERYCONFIGURE: return 0;
    }
    return DefDriverProc(id, h, msg, p1, p2);
}

DWORD WINAPI modMessage(UINT dev, UINT msg, DWORD_PTR user, DWORD_PTR p1, DWORD_PTR p2)
{
    switch (msg) {
    case DRVM_INIT: case DRVM_EXIT: case DRVM_ENABLE: case DRVM_DISABLE: return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS: return 1;
    case MODM_GETDEVCAPS: {
        MIDIOUTCAPSW c;
        memset(&c, 0, sizeof c);
        c.wMid = 0xFF; c.wPid = 1; c.vDriverVersion = 0x100;
        lstrcpyW(c.szPname, L"Fake MIDI Logger");
        c.wTechnology = MOD_SWSYNTH; c.wVoices = 32; c.wNotes = 32; c.wChannelMask = 0xFFFF;
        memcpy((void*)p1, &c, (DWORD)p2 < sizeof c ? (DWORD)p2 : sizeof c);
        return MMSYSERR_NOERROR;
    }
    case MODM_OPEN:
        if (isOpen) return MMSYSERR_ALLOCATED;
        desc = *(MIDIOPENDESC*)p1; cbFlags = (DWORD)p2; isOpen = 1;
        if (!t0) t0 = GetTickCount();
        logLine("OPEN", cbFlags);
        notify(MOM_OPEN, 0);
        return MMSYSERR_NOERROR;
    case MODM_CLOSE: logLine("CLOSE", 0); isOpen = 0; notify(MOM_CLOSE, 0); return MMSYSERR_NOERROR;
    case MODM_DATA: logLine("DATA", (DWORD)p1 & 0xFFFFFF); return MMSYSERR_NOERROR;
    case MODM_LONGDATA: {
        MIDIHDR* hdr = (MIDIHDR*)p1;
        logLine("SYSEX", hdr->dwBufferLength);
        hdr->dwFlags &= ~MHDR_INQUEUE; hdr->dwFlags |= MHDR_DONE;
        notify(MOM_DONE, (DWORD_PTR)hdr);
        return MMSYSERR_NOERROR;
    }
    case MODM_PREPARE: case MODM_UNPREPARE: return MMSYSERR_NOTSUPPORTED;  /* winmm does the default */
    case MODM_RESET: logLine("RESET", 0); return MMSYSERR_NOERROR;
    case MODM_GETVOLUME: *(DWORD*)p1 = 0xFFFFFFFF; return MMSYSERR_NOERROR;
    case MODM_SETVOLUME: return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOTSUPPORTED;
}
