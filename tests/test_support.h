#pragma once

// Helpers shared by the tests: message pumping, waiting, rendering and reading a window's
// pixels, the BMP files the program carries, message boxes, regions, raised errors and the
// built programs.

#include "toolkit/form.h"
#include "toolkit/message_box.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A pixel as 0x00RRGGBB, the layout of a 32-bit DIB in memory.
using Pixel = std::uint32_t;
Pixel PixelOf(COLORREF color);

// A rendered or decoded picture, rows top first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<Pixel> data;

    Pixel At(int x, int y) const {
        return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    // How many pixels of `rect` (client pixels, right and bottom exclusive) have this value.
    int Count(const RECT& rect, Pixel value) const;
    // The runs of rows of `rect` that hold at least one pixel of `ink`, as [first, last]: the
    // lines of a text in that colour.
    std::vector<std::pair<int, int>> InkedRowRuns(const RECT& rect, Pixel ink) const;
};

// A 32-bit top-down DIB selected into a memory DC, to draw on with GDI and read back.
class Canvas {
  public:
    Canvas(int width, int height, Pixel fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    HDC dc() const { return dc_.get(); }
    // Copies `pixels` onto the canvas with their top-left corner at (x, y).
    void Put(const Pixels& pixels, int x, int y);
    Pixels Read() const;

  private:
    int width_;
    int height_;
    Pixel* bits_ = nullptr;
    toolkit::UniqueBitmap dib_;
    toolkit::UniqueMemoryDc dc_;
    HGDIOBJ previous_ = nullptr;
};

// Renders a window's client area in-process through WM_PRINTCLIENT into a width x height DIB
// first filled with `fill`, so that whatever the window leaves unpainted keeps that value.
Pixels RenderClient(HWND window, int width, int height, Pixel fill = 0xFF00FF);

// What a shown window holds in a rectangle of its client area: read through its own DC when
// the window is this process's, off the screen when it belongs to another process.
Pixels ReadWindow(HWND window, const RECT& rect);

// True when `a` and `b` hold the same pixels within `area` (by default all of them).
bool SamePixels(const Pixels& a, const Pixels& b, const RECT& area = {0, 0, LONG_MAX, LONG_MAX});

// Decodes an uncompressed 24-bit BMP file.
Pixels DecodeBmp(toolkit::Blob bmpFile);

// A picture file of the given size in pixels filled with one colour.
toolkit::PictureFile SolidPicture(int width, int height, Pixel color);

// The name that the toolkit's test forms give their program: the title of their boxes.
inline constexpr wchar_t kTestProgramTitle[] = L"Toolkit test";

// A toolkit form's design with the faces and font the program's own form uses.
toolkit::FormDesign TestFormDesign(int widthTwips, int heightTwips, toolkit::PictureFile picture);

// Counts the messages a window of this thread receives while it lives, those that `counted`
// accepts (by default WM_PAINT), by subclassing the window; several may count on one window.
class MessageCounter {
  public:
    using Filter = std::function<bool(HWND window, UINT message, WPARAM wParam)>;
    explicit MessageCounter(HWND window, Filter counted = IsPaint);
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;
    ~MessageCounter();

    int Count() const { return count_; }

  private:
    static bool IsPaint(HWND /*window*/, UINT message, WPARAM /*wParam*/) {
        return message == WM_PAINT;
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);

    HWND window_;
    Filter counted_;
    int count_ = 0;
};

// Polls `condition` until it holds or the timeout passes; returns its last result.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Dispatches every message waiting for this thread the way the toolkit's loop does, letting
// `form` see each one first.
void PumpMessages(toolkit::Form* form = nullptr);

// The full path of a file in the folder of the running test executable.
std::wstring BesideTestExecutable(const std::wstring& fileName);

// The whole content of a text file; empty when it cannot be read.
std::string ReadTextFile(const char* path);

// A window's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND window);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The id of the process that made `window`.
DWORD ProcessOf(HWND window);

// True when the window holds exactly the region CreateRoundRectRgn(0, 0, w, h, c, c). Wine
// stores a normalised copy, so the regions are compared by their difference, not EqualRgn.
bool HoldsRoundRect(HWND window, int width, int height, int corner);

// The GDI objects this process holds now, or nothing where they cannot be counted.
// GetGuiResources counts them on Windows; under Wine it is a stub that returns 0, and the handle
// table is read instead, index by index: Wine accepts a handle given by its table index alone
// (upper word zero), which Windows does not.
std::optional<int> GdiObjectCount();
inline constexpr char kCannotCountGdiObjects[] =
    "neither GetGuiResources nor the GDI handle table counts GDI objects here";

// The run-time error number that `action` raises; 0 when it raises none.
long ErrorNumberOf(const std::function<void()>& action);

// Message boxes shown for real (dialogs of class #32770): the first visible one that `wanted`
// accepts, or null; the one `owner` opened; any one of a process; how many a process shows; its
// text; closing it with its OK button.
HWND FindMessageBox(const std::function<bool(HWND)>& wanted);
HWND FindMessageBoxOf(HWND owner);
HWND FindMessageBoxOfProcess(DWORD processId);
int MessageBoxCountOf(DWORD processId);
std::wstring MessageBoxText(HWND box);
void CloseMessageBox(HWND box);

// A process started for a test, terminated when the test lets go of it if it is still running.
class ChildProcess {
  public:
    // Starts `path` with `arguments` (the command line after the program's name).
    ChildProcess(const std::wstring& path, const std::wstring& arguments);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return id_; }
    // The exit code once the process has ended within `milliseconds`; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD milliseconds);
    // The first visible top-level window of the process that `wanted` accepts, waited for
    // up to `milliseconds`; null if none appears or the process ends first.
    HWND WaitForWindow(const std::function<bool(HWND)>& wanted, DWORD milliseconds) const;

  private:
    toolkit::UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// A message box that the code under test would have shown.
struct RecordedBox {
    std::wstring text;
    UINT style;
    std::wstring title;
};

// Records message boxes instead of showing them, for as long as it lives; `onShow` (if given)
// runs while the "box" is open, as a real modal box would let the routine wait.
class BoxRecorder {
  public:
    BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;
    ~BoxRecorder();

    const std::vector<RecordedBox>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }
    std::function<void()> onShow;

  private:
    std::vector<RecordedBox> boxes_;
    toolkit::MessageBoxPresenter previous_;
};

// The scale a window is drawn at: its own DPI where Windows tells each window its own
// (GetDpiForWindow), the system's elsewhere. For a form of this process, its CurrentScale().
toolkit::Scale ScaleOf(HWND window);

// Client pixels of the design, which is drawn at 96 DPI, in pixels of `scale`, placed as the
// toolkit places what it lays out in twips (15 to the design pixel): a rectangle as a control's
// box, a point as the corner of the box of a control one design pixel large.
RECT AtScale(const toolkit::Scale& scale, const RECT& designed);
POINT PointAtScale(const toolkit::Scale& scale, POINT designed);

// The font a form draws a text of `points` and `weight` in at `scale`: at 96 DPI the raster
// "MS Sans Serif" the design is drawn in, where the system has it with letters of the height asked
// (its few sizes are drawn for one DPI and one code page); elsewhere "Microsoft Sans Serif", the
// same design drawn to scale.
toolkit::UniqueFont DesignFontAt(const toolkit::Scale& scale, double points, int weight);

// A number with a fraction as the user's locale writes it: `whole`, the user's decimal
// separator, `fraction`.
std::wstring Decimal(const wchar_t* whole, const wchar_t* fraction);

}  // namespace testing_support
