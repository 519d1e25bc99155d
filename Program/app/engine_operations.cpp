// The application object's operations of the dictionary engine: each hands over to the engine's
// part that does it (dictionary/package_files.h, dictionary/searches.h, dictionary/lookup.h),
// with the current dictionary where an operation defaults to it.
#include "app/application.h"
#include "app/engine_operations.h"
#include "dictionary/dictionary.h"
#include "dictionary/lookup.h"
#include "dictionary/lookup_deps.h"
#include "dictionary/package_files.h"
#include "dictionary/record_codes.h"
#include "dictionary/searches.h"
#include "dictionary/sections.h"
#include "dictionary/text_lang.h"
#include "foundation/lang_table.h"
#include "foundation/settings_object.h"
#include "platform/settings_store.h"
#include "text/text.h"

namespace parlavent {

PackageFiles& Appl::Files() { return *files_; }
Searches& Appl::Search() { return *searches_; }
Lookup& Appl::LookupEngine() { return *lookup_; }

// ---- Package files -------------------------------------------------------------------------------

double Appl::GetHash(std::u16string_view StrIn) const { return files_->GetHash(StrIn); }

std::vector<std::uint8_t> Appl::ExtractBytes(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle) {
  return Files().ExtractBytes(File, ExtractedFileTitle);
}

void Appl::GetFileBounds(std::int32_t FileN, std::u16string_view ExtractedFileTitle, std::int32_t& RetSB,
                         std::int32_t& RetEB) {
  Files().GetFileBounds(FileN, ExtractedFileTitle, RetSB, RetEB);
}

std::u16string Appl::ExtractFile(const std::filesystem::path& File, std::u16string_view ExtractedFileTitle,
                                 const std::filesystem::path& OutPath) {
  return Files().ExtractFile(File, ExtractedFileTitle, OutPath);
}

std::vector<std::filesystem::path> Appl::GetFiles(const std::filesystem::path& Folder, std::u16string_view Filter) {
  return Files().GetFiles(Folder, Filter);
}

std::vector<std::uint8_t> Appl::GetBinaryFile(const std::filesystem::path& File) { return Files().GetBinaryFile(File); }
bool Appl::OpenByteFileRead(const std::filesystem::path& path) { return Files().OpenByteFileRead(path); }
bool Appl::OpenByteFileWrite(const std::filesystem::path& path) { return Files().OpenByteFileWrite(path); }
void Appl::CloseByteFile() { Files().CloseByteFile(); }
std::u16string Appl::GetByteTrans(std::int32_t Offset, std::int32_t l) { return Files().GetByteTrans(Offset, l); }
bool Appl::SetByteTrans(std::int32_t Offset, std::u16string_view strng) { return Files().SetByteTrans(Offset, strng); }
std::int32_t Appl::FromByte(const std::vector<std::uint8_t>& b) { return PackageFiles::FromByte(b); }
std::vector<std::uint8_t> Appl::ToByte(std::int32_t l) { return PackageFiles::ToByte(l); }
ByteFileTable& Appl::OpenFiles() { return Files().OpenFiles(); }

void ReadSectionBounds(Appl& app, clsDic& dic) { ReadSectionBounds(app.Files(), dic); }
bool PackageWhole(Appl& app, const clsDic& dic) { return PackageWhole(app.Files(), dic); }
std::int64_t LongestText(Appl& app, const clsDic& dic, std::int64_t upTo) {
  return LongestText(app.Files(), dic, upTo);
}
std::shared_ptr<clsDic> OpenPackageDic(Appl& app, const std::filesystem::path& path) {
  return OpenPackageDic(app.Files(), path);
}

// ---- Searches ------------------------------------------------------------------------------------

std::u16string Appl::GetByteStr(const std::vector<std::uint8_t>& b) { return Searches::GetByteStr(b); }
std::u16string Appl::GetCurCharSetString(std::u16string_view S) { return Searches::GetCurCharSetString(S); }
WordRec Appl::ReadWordRec(std::int32_t ID, const clsDic& Dic) { return Search().ReadWordRec(ID, Dic); }

std::int32_t Appl::FindWord(std::u16string_view Word, std::vector<WordRec>& Ret, const clsDic& Dic, bool SideOnly,
                            bool FirstOnly, bool DoEvent) {
  return Search().FindWord(Word, Ret, Dic, SideOnly, FirstOnly, DoEvent);
}

bool Appl::WordExist(std::u16string_view Word, const clsDic& Dic) { return Search().WordExist(Word, Dic); }

std::u16string Appl::GetWordStrByID(std::int32_t ID, std::shared_ptr<clsDic> dc, std::int32_t* RetDir) {
  return Search().GetWordStrByID(ID, dc ? dc : Dic, RetDir);
}

void Appl::GetTransRecs(std::u16string_view Word, std::vector<TransRec>& Ret, const clsDic& Dic, bool DoEvent,
                        bool UseDir, bool Clear, std::int32_t WordID) {
  Search().GetTransRecs(Word, Ret, Dic, DoEvent, UseDir, Clear, WordID);
}

void Appl::GetTransLinks(const WordRec& W, const clsDic& Dic, std::vector<TransLink>& Links) {
  Search().GetTransLinks(W, Dic, Links);
}

TransLink Appl::ReadLinkRec(std::int32_t N, std::int32_t FileN, std::int32_t Start, std::int32_t End,
                            std::int32_t Mode, std::int32_t HeaderLen) {
  return Search().ReadLinkRec(N, FileN, Start, End, Mode, HeaderLen);
}

void Appl::AddTransRec(std::vector<TransRec>& Ret, const WordRec& W, const TransLink& L, const clsDic& Dic) {
  Search().AddTransRec(Ret, W, L, Dic);
}

ThemeRec Appl::GetThemeRec(const clsDic& Dic, std::int32_t ID) { return Searches::GetThemeRec(Dic, ID); }
long Appl::SafeUBoundTransRecs(const std::vector<TransRec>& A) { return Searches::SafeUBoundTransRecs(A); }
long Appl::SafeUBoundWordRecs(const std::vector<WordRec>& A) { return Searches::SafeUBoundWordRecs(A); }
long Appl::SafeUBoundTransLinks(const std::vector<TransLink>& A) { return Searches::SafeUBoundTransLinks(A); }

bool Appl::FindSorted(std::u16string_view Text, std::vector<WordRec>& Ret, std::int32_t Limit, bool Clear,
                      std::shared_ptr<clsDic> Dic, bool AsIndex, std::int32_t DL, bool DoEvent, std::int32_t& Count) {
  return Search().FindSorted(Text, Ret, Limit, Clear, Dic ? Dic : this->Dic, AsIndex, DL, DoEvent, Count);
}

void Appl::SortRecs(std::vector<TransLink>& A, long First, long Last) { Searches::SortRecs(A, First, Last); }
void Appl::SortByKey(std::vector<WordRec>& A, long First, long Last) { Searches::SortByKey(A, First, Last); }
void Appl::SortRecsByText(std::vector<WordRec>& A, long First, long Last) { Searches::SortRecsByText(A, First, Last); }
std::u16string Appl::GetTranscript(std::u16string_view Word) { return Search().GetTranscript(Word, Dic); }

std::vector<std::u16string> Appl::GetWordTrans(std::u16string_view Word, std::shared_ptr<clsDic> dc, bool Random) {
  return Search().GetWordTrans(Word, dc ? dc : Dic, Random);
}

std::u16string Appl::GetSimpleTrans(std::u16string_view Text) { return Search().GetSimpleTrans(Text, Dic); }

// ---- Look-up ---------------------------------------------------------------------------------------

std::int32_t Appl::GetTranslate(std::u16string_view Text, std::u16string& rettext, const TranslateArgs& Args,
                                const TranslateOut& Out) {
  const std::int32_t score = LookupEngine().GetTranslate(Text, rettext, Args, Out);
  if (!SetAsideDamaged()) return score;
  // The look-up read a package that turned out damaged: its answer is dropped, and the look-up
  // runs again on the packages that serve now (the twin of the damaged one).
  TranslateArgs again = Args;
  again.ClrBuffer = true;
  return LookupEngine().GetTranslate(Text, rettext, again, Out);
}

std::int32_t Appl::GetTranslate(std::u16string_view Text, std::u16string& rettext) {
  return GetTranslate(Text, rettext, TranslateArgs{}, TranslateOut{});
}

std::u16string Appl::GetWordsTree(std::u16string_view Fraze, std::int32_t WordN, const std::shared_ptr<clsDic>& Dic,
                                  bool Ext, bool DoEvent) {
  return LookupEngine().GetWordsTree(Fraze, WordN, Dic, Ext, DoEvent);
}

std::int32_t Appl::GetDir(std::u16string_view t, const std::shared_ptr<clsDic>& Dic) {
  return LookupEngine().GetDir(t, Dic);
}

bool Appl::CheckDirection(std::u16string_view t) { return LookupEngine().CheckDirection(t); }
std::u16string Appl::Translate(std::u16string_view Word, bool Exact) { return LookupEngine().Translate(Word, Exact); }

std::u16string Appl::GetTextLang(std::u16string_view Text, std::shared_ptr<clsVoice>* RetVoice,
                                 std::shared_ptr<clsDic>*, std::int32_t*) {
  return parlavent::GetTextLang(LookupEngine(), ColDics, Voices, DefVoice, Text, RetVoice);
}

std::u16string Appl::GetRech(std::int32_t ID) { return std::u16string(RechTag(ID)); }
std::u16string Appl::GetRod(std::int32_t ID) { return std::u16string(RodTag(ID)); }

// ---- The current dictionary ----------------------------------------------------------------------

// Choosing a dictionary is the application's: its collection, its current dictionary, the
// settings store and the main window's buttons.
void clsDic::SetEnabled(bool Refr) {
  SaveSetting(u"Main", u"Dic", NumberText(Index));
  MakeCurrent(Refr);
}

void clsDic::ServeInstead() { MakeCurrent(false); }

void clsDic::MakeCurrent(bool Refr) {
  Appl& app = gAppl();
  for (auto& dic : app.ColDics) {
    if (dic) dic->Enabled = false;
  }
  const auto self = shared_from_this();
  app.Dic = self;
  G().gCurDic = self;
  Enabled = true;
  if (Refr && app.MainServices) {
    app.MainServices->Info(GetDirStr(), true);
    app.MainServices->RefreshDicButtons();
  }
  if (G().gSetting) G().gSetting->LrnDic = GetDemoDic();
}

// ---- What the result tree and the dictionary objects read of the application ----------------------

namespace lookup {

std::u16string Transcript(std::u16string_view word) { return HasAppl() ? gAppl().GetTranscript(word) : std::u16string(); }
const Setting* Settings() { return HasAppl() ? G().gSetting.get() : nullptr; }
std::u16string LangStr(std::int32_t n) { return HasAppl() ? mdlPublic::GetLangStr(n) : std::u16string(); }

}  // namespace lookup

}  // namespace parlavent
