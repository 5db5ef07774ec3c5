/* SDL_dibpresent.c: added to SDL 1.2.15's windib video driver for COMET DRIFTER's Windows
   build, which calls it from the hooks of 0001-windib-shows-the-picture-scaled.patch.
   The display surface keeps its size: the game draws in it and reads it back. Only what
   reaches the screen is scaled, by copying pixels, never blending them:
   - in a window, by the largest whole factor whose window, frame and title bar included,
     fits the desktop's work area;
   - in full screen (--fullscreen on the command line, or Alt+Enter), a borderless window
     the size of the monitor: the picture centred, by a whole factor where that fills at
     least 85 % of the largest fit (the page's rule), else by the largest fit, black round it.
   The process declares itself DPI-aware, so Windows never stretches the window again,
   blurred, and the work area comes in real pixels. */
#include "SDL_config.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "SDL_video.h"
#include "../wincommon/SDL_lowvideo.h"
#include "SDL_dibpresent.h"

#define FULLSCREEN_SWITCH "--fullscreen"
#define FILLS_MOST 0.85  /* a whole factor is kept if it fills this much of the largest fit */

static const DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static const DWORD borderless_style = WS_POPUP;

static BOOL borderless;  /* full screen, asked for on the command line or by Alt+Enter */
static BOOL placed;      /* the window is ours to size: the picture goes where `picture` says */
static RECT picture;     /* the surface's place in the window's client area */

/* SetProcessDpiAware is Windows Vista's: looked up, so an older Windows still starts. */
static void BecomeDpiAware(void)
{
	typedef BOOL (WINAPI *DpiAwareFunction)(void);
	HMODULE user32 = GetModuleHandleA("user32.dll");
	FARPROC found = user32 ? GetProcAddress(user32, "SetProcessDpiAware") : NULL;
	if ( found ) {
		((DpiAwareFunction)(void *)found)();
	}
}

/* Whether WORD is one of the command line's words after the program's own name. SDL's
   main keeps argv to itself, so the line is read again; quotes group words. */
static BOOL CommandLineHas(const char *word)
{
	const char *p = GetCommandLineA();
	const size_t length = SDL_strlen(word);
	BOOL first = TRUE;

	while ( *p ) {
		const char *start;
		BOOL quoted = FALSE;
		while ( *p == ' ' || *p == '\t' ) ++p;
		start = p;
		while ( *p && (quoted || (*p != ' ' && *p != '\t')) ) {
			if ( *p == '"' ) quoted = !quoted;
			++p;
		}
		if ( !first && (size_t)(p - start) == length && SDL_strncmp(start, word, length) == 0 ) {
			return TRUE;
		}
		first = FALSE;
	}
	return FALSE;
}

void DIB_PresentInit(void)
{
	BecomeDpiAware();
	borderless = CommandLineHas(FULLSCREEN_SWITCH);
}

/* The picture centred in an area_w x area_h screen, by the page's rule. */
static void CentrePicture(int width, int height, int area_w, int area_h)
{
	const double fit_w = (double)area_w / width, fit_h = (double)area_h / height;
	const double fit = fit_w < fit_h ? fit_w : fit_h;
	const int whole = (int)fit;
	int w, h;

	if ( whole >= 1 && whole >= fit * FILLS_MOST ) {
		w = width * whole;
		h = height * whole;
	} else {
		w = (int)(width * fit + 0.5);
		h = (int)(height * fit + 0.5);
	}
	SetRect(&picture, (area_w - w) / 2, (area_h - h) / 2, (area_w - w) / 2 + w, (area_h - h) / 2 + h);
}

/* The largest whole factor whose window, frame included, fits AREA; 1 at the least. */
static int WindowScale(int width, int height, const RECT *area)
{
	RECT frame = { 0, 0, 0, 0 };
	int across, down;

	AdjustWindowRectEx(&frame, window_style, FALSE, 0);
	across = (area->right - area->left - (frame.right - frame.left)) / width;
	down = (area->bottom - area->top - (frame.bottom - frame.top)) / height;
	return across < down ? (across > 1 ? across : 1) : (down > 1 ? down : 1);
}

int DIB_PresentPlaceWindow(_THIS, int width, int height, Uint32 flags)
{
	RECT area, bounds;
	DWORD style;
	HWND order;

	placed = !SDL_windowid && !(flags & (SDL_FULLSCREEN | SDL_OPENGL));
	if ( !placed ) {
		return 0;
	}
	style = GetWindowLong(SDL_Window, GWL_STYLE) & ~(window_style | borderless_style | WS_MAXIMIZE);
	if ( borderless ) {
		MONITORINFO monitor;
		monitor.cbSize = sizeof(monitor);
		GetMonitorInfo(MonitorFromWindow(SDL_Window, MONITOR_DEFAULTTOPRIMARY), &monitor);
		bounds = monitor.rcMonitor;
		CentrePicture(width, height, bounds.right - bounds.left, bounds.bottom - bounds.top);
		style |= borderless_style;
		order = HWND_TOP;
	} else {
		int scale, x, y;
		if ( !SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0) ) {
			SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
		}
		scale = WindowScale(width, height, &area);
		SetRect(&picture, 0, 0, width * scale, height * scale);
		bounds = picture;
		AdjustWindowRectEx(&bounds, window_style, FALSE, 0);
		/* centred in the work area; its top left corner kept on it */
		x = area.left + (area.right - area.left - (bounds.right - bounds.left)) / 2;
		y = area.top + (area.bottom - area.top - (bounds.bottom - bounds.top)) / 2;
		OffsetRect(&bounds, (x > area.left ? x : area.left) - bounds.left,
		           (y > area.top ? y : area.top) - bounds.top);
		style |= window_style;
		order = HWND_NOTOPMOST;
	}
	SetWindowLong(SDL_Window, GWL_STYLE, style);
	SDL_resizing = 1;  /* SDL's message handler would hold the window to the surface's size */
	SetWindowPos(SDL_Window, order, bounds.left, bounds.top, bounds.right - bounds.left,
	             bounds.bottom - bounds.top, SWP_NOCOPYBITS | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
	SDL_resizing = 0;
	if ( !borderless ) {
		SDL_windowX = SDL_bounds.left;
		SDL_windowY = SDL_bounds.top;
	}
	if ( GetParent(SDL_Window) == NULL ) {
		SetForegroundWindow(SDL_Window);
	}
	InvalidateRect(SDL_Window, NULL, FALSE);
	return 1;
}

int DIB_PresentPicture(_THIS, HDC hdc, HDC mdc)
{
	const SDL_Surface *surface = SDL_VideoSurface;
	const int w = picture.right - picture.left, h = picture.bottom - picture.top;

	if ( !placed || !surface ) {
		return 0;
	}
	if ( w == surface->w && h == surface->h ) {
		BitBlt(hdc, picture.left, picture.top, w, h, mdc, 0, 0, SRCCOPY);
	} else {
		SetStretchBltMode(hdc, COLORONCOLOR);  /* each pixel copied, none blended */
		StretchBlt(hdc, picture.left, picture.top, w, h, mdc, 0, 0, surface->w, surface->h, SRCCOPY);
	}
	return 1;
}

int DIB_PresentAll(_THIS, HDC hdc, HDC mdc)
{
	RECT client;
	int saved;

	if ( !placed ) {
		return 0;
	}
	GetClientRect(SDL_Window, &client);
	saved = SaveDC(hdc);
	ExcludeClipRect(hdc, picture.left, picture.top, picture.right, picture.bottom);
	FillRect(hdc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
	RestoreDC(hdc, saved);
	return DIB_PresentPicture(this, hdc, mdc);
}

int DIB_PresentToggle(_THIS)
{
	const SDL_Surface *surface = SDL_VideoSurface;

	if ( !placed || !surface ) {
		return 0;
	}
	borderless = !borderless;
	return DIB_PresentPlaceWindow(this, surface->w, surface->h, surface->flags);
}
