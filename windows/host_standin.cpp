// Stands in for the 32-bit host runtime: loads zepcollide.dll, resolves the
// 26 commands by name and by ordinal, calls them the way the host does (every
// argument one 32-bit word, float results read from the integer result),
// watches the stack and the x87 state around every call, records the error
// box through the DLL's import of MessageBoxA, and unloads the DLL at the end.
//
//   host_standin.exe <path to zepcollide.dll> [--digest-only]
//
// Exit code 0 only when every check passed; the last line reads
// "N passed, M failed".
#include <windows.h>

#include <cfenv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shared/caller_float_state.h"
#include "shared/scenarios.h"
#include "support/mesh_block.h"

using zeptest::Commands;
using zeptest::Word;

// ---------------------------------------------------------------------------
// The checked call: pushes the argument words (last first), calls the command
// and records the stack pointer and the callee-saved registers after it, and
// the x87 environment. A stdcall command must pop exactly its own words and
// return a float result in EAX, leaving the x87 stack empty.
struct CallRecord {
    uint32_t espExpected;  // ESP before the words were pushed
    uint32_t espAfter;     // ESP right after the call returned
    uint32_t ebx, esi, edi;
    uint32_t x87Environment[7];  // FNSTENV image; word 2 holds the tag word
};

extern "C" uint32_t zepCheckedCall(const void* function, const uint32_t* words, uint32_t count,
                                   CallRecord* record);

constexpr uint32_t kEbxMark = 0x1B1B1B1Bu, kEsiMark = 0x5E5E5E5Eu, kEdiMark = 0xD1D1D1D1u;

asm(R"(
    .text
    .globl _zepCheckedCall
_zepCheckedCall:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  12(%ebp), %esi
    movl  16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  movl  8(%ebp), %eax
    movl  $0x1B1B1B1B, %ebx
    movl  $0x5E5E5E5E, %esi
    movl  $0xD1D1D1D1, %edi
    call  *%eax
    movl  20(%ebp), %ecx
    leal  -12(%ebp), %edx
    movl  %edx, 0(%ecx)
    movl  %esp, 4(%ecx)
    movl  %ebx, 8(%ecx)
    movl  %esi, 12(%ecx)
    movl  %edi, 16(%ecx)
    fnstenv 20(%ecx)
    fldenv  20(%ecx)
    leal  -12(%ebp), %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");

// ---------------------------------------------------------------------------
// Results.

namespace {

int passedCount = 0;
int failedCount = 0;

void check(bool ok, const std::string& what) {
    if (ok) {
        ++passedCount;
        return;
    }
    ++failedCount;
    std::printf("FAIL: %s\n", what.c_str());
}

// ---------------------------------------------------------------------------
// The error box recorder, patched into the DLL's import address table.

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<RecordedBox> recordedBoxes;
zeptest::Host* currentHost = nullptr;
// What the host does while the box is up, if anything.
void (*duringBox)() = nullptr;

int WINAPI recordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    recordedBoxes.push_back(RecordedBox{owner, text ? text : "(null)", caption ? caption : "(null)",
                                        type});
    if (currentHost) currentHost->boxes.push_back(zeptest::Box{recordedBoxes.back().text,
                                                                 recordedBoxes.back().caption});
    if (duringBox) duringBox();
    return IDOK;
}

// The DLL's `free` while it unloads is counted, to see DllMain release the
// world on process detach.
using FreeFunction = void(__cdecl*)(void*);
FreeFunction realFree = nullptr;
long freesSeen = 0;
void __cdecl countingFree(void* pointer) {
    if (pointer) ++freesSeen;
    realFree(pointer);
}

// Replaces the import of `function` from `dll` in `module` with `replacement`;
// returns the old target, or nullptr when the module does not import it.
void* patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name; ++import) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + import->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA32*>(
            base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD oldProtection = 0;
            void* slot = &addresses->u1.Function;
            if (!VirtualProtect(slot, sizeof(DWORD), PAGE_READWRITE, &oldProtection)) return nullptr;
            void* old = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<DWORD>(replacement);
            VirtualProtect(slot, sizeof(DWORD), oldProtection, &oldProtection);
            return old;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// The commands as resolved from the DLL.

void* byOrdinal[zeptest::kCommandCount + 1];
void* extensionByOrdinal[zeptest::kExtensionCommandCount];

// The character commands as the host declares them.
zeptest::ExtensionCommands extensionCommands() {
    zeptest::ExtensionCommands c{};
    std::memcpy(&c, extensionByOrdinal, sizeof c);
    return c;
}

// Argument words per command, by ordinal: what each must pop.
constexpr uint32_t kArgumentWords[zeptest::kCommandCount + 1] = {
    0, 0, 0, 0, 5, 2, 2, 2, 1, 1, 4, 10, 2, 7, 0, 0, 0, 1, 1, 1, 1, 1, 3, 3, 2, 2, 4};

long checkedCalls = 0;
long callFaults = 0;

uint32_t call(int ordinal, std::initializer_list<uint32_t> words) {
    CallRecord record{};
    const uint32_t result = zepCheckedCall(byOrdinal[ordinal], words.begin(), uint32_t(words.size()),
                                           &record);
    ++checkedCalls;
    const uint32_t tagWord = record.x87Environment[2] & 0xFFFFu;
    const bool ok = record.espAfter == record.espExpected && record.ebx == kEbxMark &&
                    record.esi == kEsiMark && record.edi == kEdiMark && tagWord == 0xFFFFu;
    if (!ok && callFaults++ < 20) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s: ESP off by %ld bytes, EBX %08lx ESI %08lx EDI %08lx, x87 tags %04lx",
                      zeptest::kCommandNames[ordinal - 1],
                      long(record.espAfter) - long(record.espExpected), (unsigned long)record.ebx,
                      (unsigned long)record.esi, (unsigned long)record.edi, (unsigned long)tagWord);
        check(false, text);
    }
    return result;
}

Word W(int32_t value) { return Word(value); }
Word W(const void* address) { return Word(reinterpret_cast<uintptr_t>(address)); }

// One wrapper per command: the table entry the scenarios call when every call
// is to go through the checked thunk.
void ZEPCALL cStart() { call(1, {}); }
void ZEPCALL cStartDebug() { call(2, {}); }
void ZEPCALL cStop() { call(3, {}); }
void ZEPCALL cSetCollision(int32_t a, int32_t b, Word u1, Word u2, Word u3) {
    call(4, {W(a), W(b), u1, u2, u3});
}
void ZEPCALL cNewObj(int32_t n, int32_t t) { call(5, {W(n), W(t)}); }
int32_t ZEPCALL cCheckShape(int32_t n, int32_t k) { return int32_t(call(6, {W(n), W(k)})); }
void ZEPCALL cAddShape(int32_t n, int32_t k) { call(7, {W(n), W(k)}); }
void ZEPCALL cActivate(int32_t n) { call(8, {W(n)}); }
void ZEPCALL cDeactivate(int32_t n) { call(9, {W(n)}); }
void ZEPCALL cRadius(int32_t n, Word x, Word y, Word z) { call(10, {W(n), x, y, z}); }
void ZEPCALL cTri(int32_t n, Word a, Word b, Word c, Word d, Word e, Word f, Word g, Word h,
                  Word i) {
    call(11, {W(n), a, b, c, d, e, f, g, h, i});
}
void ZEPCALL cMesh(int32_t n, const void* block) { call(12, {W(n), W(block)}); }
void ZEPCALL cUpdate(int32_t n, Word x, Word y, Word z, Word u1, Word u2, Word u3) {
    call(13, {W(n), x, y, z, u1, u2, u3});
}
void ZEPCALL cResetStack() { call(14, {}); }
int32_t ZEPCALL cPeekStack() { return int32_t(call(15, {})); }
void ZEPCALL cRun() { call(16, {}); }
int32_t ZEPCALL cPeekX(int32_t n) { return int32_t(call(17, {W(n)})); }
int32_t ZEPCALL cPeekY(int32_t n) { return int32_t(call(18, {W(n)})); }
int32_t ZEPCALL cPeekZ(int32_t n) { return int32_t(call(19, {W(n)})); }
void ZEPCALL cFree(int32_t n) { call(20, {W(n)}); }
int32_t ZEPCALL cCount(int32_t n) { return int32_t(call(21, {W(n)})); }
int32_t ZEPCALL cHit(int32_t n, int32_t i, int32_t k) { return int32_t(call(22, {W(n), W(i), W(k)})); }
int32_t ZEPCALL cHitNorm(int32_t n, int32_t i, int32_t k) {
    return int32_t(call(23, {W(n), W(i), W(k)}));
}
int32_t ZEPCALL cObjHit(int32_t n, int32_t i) { return int32_t(call(24, {W(n), W(i)})); }
int32_t ZEPCALL cPolyHit(int32_t n, int32_t i) { return int32_t(call(25, {W(n), W(i)})); }
int32_t ZEPCALL cCorner(int32_t n, int32_t i, int32_t c, int32_t k) {
    return int32_t(call(26, {W(n), W(i), W(c), W(k)}));
}

Commands checkedCommands() {
    return Commands{cStart,     cStartDebug, cStop,  cSetCollision, cNewObj,   cCheckShape, cAddShape,
                    cActivate,  cDeactivate, cRadius, cTri,         cMesh,     cUpdate,     cResetStack,
                    cPeekStack, cRun,        cPeekX, cPeekY,        cPeekZ,    cFree,       cCount,
                    cHit,       cHitNorm,    cObjHit, cPolyHit,     cCorner};
}

// The plain host view: the DLL's addresses called through typed stdcall
// pointers by compiled code.
Commands directCommands() {
    Commands commands{};
    for (int ordinal = 1; ordinal <= zeptest::kCommandCount; ++ordinal)
        zeptest::setCommand(commands, ordinal, reinterpret_cast<void (*)()>(byOrdinal[ordinal]));
    return commands;
}

// ---------------------------------------------------------------------------
// The checks.

bool resolveCommands(HMODULE dll) {
    bool all = true;
    for (int ordinal = 1; ordinal <= zeptest::kCommandCount; ++ordinal) {
        const char* name = zeptest::kCommandNames[ordinal - 1];
        FARPROC named = GetProcAddress(dll, name);
        FARPROC numbered = GetProcAddress(dll, MAKEINTRESOURCEA(ordinal));
        check(named != nullptr, std::string("export by name: ") + name);
        check(named == numbered, std::string("ordinal ") + std::to_string(ordinal) +
                                     " is the same address as " + name);
        byOrdinal[ordinal] = reinterpret_cast<void*>(named);
        all = all && named && named == numbered;
    }
    for (int i = 0; i < zeptest::kExtensionCommandCount; ++i) {
        const int ordinal = zeptest::kFirstExtensionOrdinal + i;
        const char* name = zeptest::kExtensionCommandNames[i];
        FARPROC named = GetProcAddress(dll, name);
        check(named != nullptr && named == GetProcAddress(dll, MAKEINTRESOURCEA(ordinal)),
              std::string("export by name and ordinal ") + std::to_string(ordinal) + ": " + name);
        extensionByOrdinal[i] = reinterpret_cast<void*>(named);
        all = all && named;
    }
    check(GetProcAddress(dll, MAKEINTRESOURCEA(zeptest::kFirstExtensionOrdinal + zeptest::kExtensionCommandCount)) ==
              nullptr,
          "no export beyond ordinal 32");
    check(GetProcAddress(dll, "_SetCollisionZEP@20") == nullptr &&
              GetProcAddress(dll, "SetCollisionZEP@20") == nullptr,
          "no decorated export names");
    return all;
}

// Every command once through the checked thunk with its exact word count,
// arguments chosen so nothing is left behind.
void stackBalanceOfEveryCommand() {
    const long faultsBefore = callFaults;
    const Word one = zeptest::bitsOf(1.0f);
    const std::vector<uint8_t> block = zeptest::meshBlock(12, 0, {});  // no vertices
    const uint32_t args[][10] = {
        {}, {}, {}, {7, 8, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}, {1, 1}, {1, 1}, {1, 1}, {1}, {1},
        {1, one, one, one}, {1, one, 0, 0, 0, 0, one, one, 0, 0}, {1, W(block.data())},
        {1, one, one, one, 0xDEADBEEFu, 0xDEADBEEFu, 0xDEADBEEFu}, {}, {}, {}, {1}, {1}, {1},
        {1}, {1}, {1, 1, 1}, {1, 1, 1}, {1, 1}, {1, 1}, {1, 1, 1, 1}};
    call(1, {});
    for (int ordinal = 1; ordinal <= zeptest::kCommandCount; ++ordinal) {
        if (ordinal == 3 || ordinal == 20) continue;  // stop and free come last
        CallRecord record{};
        zepCheckedCall(byOrdinal[ordinal], args[ordinal - 1], kArgumentWords[ordinal], &record);
        check(record.espAfter == record.espExpected,
              std::string(zeptest::kCommandNames[ordinal - 1]) + " removes its " +
                  std::to_string(kArgumentWords[ordinal]) + " argument words");
        check((record.x87Environment[2] & 0xFFFFu) == 0xFFFFu,
              std::string(zeptest::kCommandNames[ordinal - 1]) + " leaves the x87 stack empty");
        check(record.ebx == kEbxMark && record.esi == kEsiMark && record.edi == kEdiMark,
              std::string(zeptest::kCommandNames[ordinal - 1]) + " keeps EBX, ESI and EDI");
    }
    // The commands after the 26: 4, 1, 2, 1, 1 and 1 words.
    const uint32_t extensionArgs[][4] = {{1, one, one, one}, {1}, {1, 2}, {1}, {1}, {0}};
    const uint32_t extensionWords[] = {4, 1, 2, 1, 1, 1};
    for (int i = 0; i < zeptest::kExtensionCommandCount; ++i) {
        CallRecord record{};
        zepCheckedCall(extensionByOrdinal[i], extensionArgs[i], extensionWords[i], &record);
        check(record.espAfter == record.espExpected && record.ebx == kEbxMark && record.esi == kEsiMark &&
                  record.edi == kEdiMark && (record.x87Environment[2] & 0xFFFFu) == 0xFFFFu,
              std::string(zeptest::kExtensionCommandNames[i]) + " removes its " + std::to_string(extensionWords[i]) +
                  " argument words and keeps the registers and the x87 stack");
    }
    for (int ordinal : {20, 3}) {
        CallRecord record{};
        zepCheckedCall(byOrdinal[ordinal], args[ordinal - 1], kArgumentWords[ordinal], &record);
        check(record.espAfter == record.espExpected,
              std::string(zeptest::kCommandNames[ordinal - 1]) + " removes its " +
                  std::to_string(kArgumentWords[ordinal]) + " argument words");
    }
    check(callFaults == faultsBefore, "no faults in the checked calls");
}

// The float results come back in EAX as bit patterns.
void floatResultsInEax() {
    call(1, {});
    call(5, {42, 1});
    call(13, {42, 0x3FC00000u /*1.5*/, 0xBDCCCCCDu /*-0.1*/, 0x00000001u, 0, 0, 0});
    check(call(17, {42}) == 0x3FC00000u, "PeekObjXZEP(42) returns 1.5 as bits in EAX");
    check(call(18, {42}) == 0xBDCCCCCDu, "PeekObjYZEP(42) returns -0.1 as bits in EAX");
    check(call(19, {42}) == 0x00000001u, "PeekObjZZEP(42) returns the denormal unchanged");
    call(3, {});
}

void errorBoxThroughMessageBoxA() {
    recordedBoxes.clear();
    call(1, {});
    call(2, {});
    call(20, {7});
    call(20, {8});
    check(recordedBoxes.size() == 1, "one box after one arming, got " +
                                         std::to_string(recordedBoxes.size()));
    if (!recordedBoxes.empty()) {
        const RecordedBox& box = recordedBoxes[0];
        check(box.text == "Object isn't defined: 7", "box text: \"" + box.text + "\"");
        check(box.caption == "Collision Error", "box caption: \"" + box.caption + "\"");
        check(box.type == (MB_OK | MB_ICONINFORMATION), "box flags 0x40, got " +
                                                            std::to_string(box.type));
        check(box.owner == nullptr, "box has no owner window");
    }
    call(2, {});
    call(20, {5001});
    check(recordedBoxes.size() == 2 &&
              recordedBoxes[1].text == "Object number too high for collision system: 5001",
          "second arming shows the too-high text for 5001");
    call(3, {});
    recordedBoxes.clear();
}

// Object n exists: it takes a position and reads it back.
bool objectExists(int32_t n) {
    call(13, {uint32_t(n), 0x40A00000u, 0, 0, 0, 0, 0});  // x = 5
    return call(17, {uint32_t(n)}) == 0x40A00000u;
}

DWORD WINAPI createObject10(LPVOID) {
    call(5, {10, 1});
    return 0;
}

void callInFromAnotherThread() {
    HANDLE thread = CreateThread(nullptr, 0, createObject10, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// While the box is up (inside the failing command): the box's own thread
// may read but not change the world, and another thread may not come in
// at all; once the command has returned, either may.
void callsWhileTheBoxIsUp() {
    call(1, {});
    call(5, {3, 1});
    call(13, {3, 0x3F800000u, 0, 0, 0, 0, 0});  // x = 1
    duringBox = [] {
        call(5, {9, 1});
        check(call(17, {3}) == 0x3F800000u, "the box's thread reads a position while the box is up");
        callInFromAnotherThread();
    };
    call(2, {});
    call(20, {7});
    duringBox = nullptr;
    check(recordedBoxes.size() == 1, "the failing call showed its box");
    check(!objectExists(9), "a command called while the box is up is refused");
    check(!objectExists(10), "another thread is refused while a command runs");
    callInFromAnotherThread();
    check(objectExists(10), "another thread may call in once no command runs");
    call(3, {});
    recordedBoxes.clear();
}

void runScenarios(const Commands& commands, const char* mode) {
    for (const zeptest::Scenario& scenario : zeptest::scenarios()) {
        const std::string name = std::string(mode) + "/" + scenario.name;
        if (scenario.needsPass && !zeptest::kCollisionPassLanded) {
            std::printf("PENDING %s: needs the collision pass\n", name.c_str());
            continue;
        }
        zeptest::Host host;
        host.cmd = commands;
        currentHost = &host;
        zeptest::resetWorld(host);
        zeptest::Checks checks;
        scenario.run(host, checks);
        zeptest::resetWorld(host);
        currentHost = nullptr;
        check(checks.passed() + checks.failed() > 0, name + " checked something");
        if (scenario.knownFault) {
            check(checks.failed() > 0, name + " passes now: remove its known-fault mark");
            if (checks.failed() > 0)
                std::printf("KNOWN FAULT %s: %s\n  %s\n", name.c_str(), scenario.knownFault,
                            checks.failures()[0].c_str());
            continue;
        }
        for (const std::string& failure : checks.failures()) check(false, name + ": " + failure);
        if (checks.failed() == 0) ++passedCount;
    }
}

uint64_t digestOf(const Commands& commands) {
    zeptest::Host host;
    host.cmd = commands;
    currentHost = &host;
    zeptest::resetWorld(host);
    const uint64_t digest =
        zeptest::scenarioDigest(host, zeptest::kDigestSeed, zeptest::kDigestFrames);
    zeptest::resetWorld(host);
    currentHost = nullptr;
    return digest;
}

// The host's x87 control word for a float state: its rounding mode and
// single precision, as Direct3D 9 leaves it unless told to keep the FPU.
uint16_t hostX87(const zeptest::HostFloatState& state) {
    const uint16_t own = zeptest::detail::x87ControlWord();
    std::fesetround(state.rounding);
    const uint16_t word = uint16_t(zeptest::detail::x87ControlWord() & ~0x0300u);
    std::fesetround(FE_TONEAREST);
    zeptest::detail::setX87ControlWord(own);
    return word;
}

// The digest again with the host in each float state a game or its driver
// may hold while calling: the same bits, and every command hands back the
// host's MXCSR and x87 control word as it found them.
void digestInHostFloatStates(uint64_t expected) {
    for (const zeptest::HostFloatState& state : zeptest::kHostFloatStates) {
        const Commands commands = zeptest::inHostFloatState(directCommands());
        zeptest::CallerFloatState& seen = zeptest::callerFloatState;
        seen.mxcsr = zeptest::hostMxcsr(state);
        seen.x87 = hostX87(state);
        const std::string name = std::string("host float state ") + state.name;
        check(seen.mxcsr != zeptest::kMxcsrDefault &&
                  ((seen.mxcsr >> 13) & 3u) == ((seen.x87 >> 10) & 3u),
              name + ": fesetround set MXCSR and the x87 word alike");
        const uint64_t digest = digestOf(commands);
        check(digest == expected, name + ": " + zeptest::digestLine(digest));
        char text[160];
        std::snprintf(text, sizeof text, "%s: %ld calls, %ld changed the host's state (first %s, MXCSR %08lx)",
                      name.c_str(), seen.calls, seen.changed,
                      seen.firstChangedOrdinal ? zeptest::kCommandNames[seen.firstChangedOrdinal - 1] : "none",
                      (unsigned long)seen.firstChangedMxcsr);
        check(seen.calls > 100000 && seen.changed == 0, text);
    }
}

// Leaves a world with many records alive and unloads the DLL: its DllMain
// must release them (StopCollisionZEP on process detach).
void unloadReleasesTheWorld(HMODULE dll) {
    call(1, {});
    call(4, {1, 2, 0, 0, 0});
    const Word one = zeptest::bitsOf(1.0f);
    for (int32_t n = 1; n <= 20; ++n) {
        call(5, {W(n), 2});
        call(7, {W(n), 2});
        for (int t = 0; t < 10; ++t) call(11, {W(n), 0, 0, 0, 0, 0, one, one, 0, 0});
        call(8, {W(n)});
    }
    // 20 objects with body, shape, activation entry, and a block of triangles
    // with its table each.
    constexpr long kRecords = 20 * (1 + 1 + 1 + 1 + 2);
    HMODULE crt = GetModuleHandleA("msvcrt.dll");
    // Through void* so the compiler accepts the change of function type.
    void* address = crt ? reinterpret_cast<void*>(GetProcAddress(crt, "free")) : nullptr;
    realFree = reinterpret_cast<FreeFunction>(address);
    check(realFree != nullptr, "msvcrt free found");
    if (!realFree) return;
    check(patchImport(dll, "msvcrt.dll", "free", reinterpret_cast<void*>(countingFree)) != nullptr,
          "the DLL imports free from msvcrt.dll");
    freesSeen = 0;
    check(FreeLibrary(dll) != 0, "FreeLibrary succeeds");
    check(freesSeen >= kRecords, "unloading frees the world: " + std::to_string(freesSeen) +
                                     " frees, at least " + std::to_string(kRecords) + " expected");
}

// A host that unloads the DLL without StopCollisionZEP while the pass's
// threads wait for work: FreeLibrary returns at once (the threads keep the
// DLL mapped until the process ends, which stops them) and the process ends
// normally, with nothing waited for under the loader's lock.
void unloadWithThreadsWaiting(HMODULE dll) {
    zeptest::Host host;
    host.cmd = directCommands();
    currentHost = &host;
    zeptest::crowdDigest(host, extensionCommands(), 4, false);
    currentHost = nullptr;
    check(FreeLibrary(dll) != 0, "FreeLibrary with the pass's threads waiting returns");
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) {
        std::printf("usage: host_standin <zepcollide.dll> [--digest-only]\n");
        return 2;
    }
    const bool digestOnly = argc > 2 && std::strcmp(argv[2], "--digest-only") == 0;
    HMODULE dll = LoadLibraryA(argv[1]);
    if (!dll) {
        std::printf("FAIL: LoadLibraryA(%s) failed, error %lu\n0 passed, 1 failed\n", argv[1],
                    GetLastError());
        return 1;
    }
    check(patchImport(dll, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(recordMessageBox)) !=
              nullptr,
          "the DLL imports MessageBoxA from USER32.dll (patched with the recorder)");
    if (!resolveCommands(dll) || failedCount > 0) {
        std::printf("%d passed, %d failed\n", passedCount, failedCount);
        return 1;
    }

    if (!digestOnly) {
        stackBalanceOfEveryCommand();
        floatResultsInEax();
        errorBoxThroughMessageBoxA();
        callsWhileTheBoxIsUp();
        runScenarios(directCommands(), "direct");
        runScenarios(checkedCommands(), "checked");
    }
    const uint64_t direct = digestOf(directCommands());
    const uint64_t checked = digestOf(checkedCommands());
    check(direct == checked, "the digest is the same through typed pointers and the thunk");
    std::printf("%s\n", zeptest::digestLine(checked).c_str());
    {
        zeptest::Host host;
        host.cmd = directCommands();
        currentHost = &host;
        std::printf("%s\n", zeptest::characterDigestLine(zeptest::characterDigest(host, extensionCommands())).c_str());
        // The crowd's pass on the DLL's worker threads gives what it gives
        // on the host's thread alone.
        const uint64_t serial = zeptest::crowdDigest(host, extensionCommands(), 1);
        const uint64_t threaded = zeptest::crowdDigest(host, extensionCommands(), 4);
        check(serial == threaded, "the crowd's digest is the same on 4 threads as on 1");
        std::printf("%s\n", zeptest::crowdDigestLine(threaded).c_str());
        currentHost = nullptr;
    }
    check(callFaults == 0, std::to_string(checkedCalls) + " checked calls, " +
                               std::to_string(callFaults) + " with a stack, register or x87 fault");

    if (!digestOnly) digestInHostFloatStates(checked);

    if (!digestOnly) unloadReleasesTheWorld(dll);
    else unloadWithThreadsWaiting(dll);

    std::printf("%d passed, %d failed\n", passedCount, failedCount);
    return failedCount == 0 ? 0 : 1;
}
