// 32-bit Windows: the unwinding tables of BrontelX.dll registered with the unwinder linked into it.
//
// The toolchain's start-up code of a DLL registers the DLL's DWARF-2 tables (.eh_frame) with the
// shared libgcc (libgcc_s_dw2-1.dll) instead of the linked-in unwinder when the process has already
// loaded that DLL, as hosts built with the toolchain's defaults and their other plug-ins do. The
// unwinder that throws inside this DLL is the linked-in one: it would then find no frame of ours,
// and every exception would abort the host instead of becoming the entry point's -1. So when the
// linked-in unwinder does not know this DLL's code once start-up has run, the section is
// registered with it too, and taken back when the DLL is unloaded.
#include <windows.h>

// The linked-in unwinder's interface (libgcc_eh).
struct DwarfEhBases {
  void* tbase;
  void* dbase;
  void* func;
};
extern "C" const void* _Unwind_Find_FDE(void* pc, DwarfEhBases* bases);
extern "C" void __register_frame(void* begin);
extern "C" void __deregister_frame(void* begin);

// Where the linker put this image.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// A label inside the image's .eh_frame section, which tells the section apart without its name (the
// section headers of an image hold long names only as offsets into a table that is not loaded). It
// is empty, so it adds nothing to the tables.
[[gnu::section(".eh_frame"), gnu::used]] const char kTablesMark[0] = {};

// The start of the image's section that holds `address`; null when none does.
char* SectionStart(const void* address) {
  char* const image = reinterpret_cast<char*>(&__ImageBase);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + __ImageBase.e_lfanew);
  const auto offset = static_cast<DWORD>(static_cast<const char*>(address) - image);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
  for (WORD index = 0; index < headers->FileHeader.NumberOfSections; ++index, ++section) {
    if (offset >= section->VirtualAddress && offset < section->VirtualAddress + section->Misc.VirtualSize) {
      return image + section->VirtualAddress;
    }
  }
  return nullptr;
}

class UnwindTables {
 public:
  // Runs among the DLL's static constructors, after the start-up code's own registration.
  UnwindTables() {
    DwarfEhBases bases{};
    if (_Unwind_Find_FDE(reinterpret_cast<void*>(&SectionStart), &bases)) return;
    tables_ = SectionStart(kTablesMark);
    if (tables_) __register_frame(tables_);
  }
  ~UnwindTables() {
    if (tables_) __deregister_frame(tables_);
  }
  UnwindTables(const UnwindTables&) = delete;
  UnwindTables& operator=(const UnwindTables&) = delete;

 private:
  char* tables_ = nullptr;
};

const UnwindTables registration;

}  // namespace
