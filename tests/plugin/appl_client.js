// A script client of the running program, run by the Windows Script Host (cscript).
var appl;
try {
  appl = new ActiveXObject("Parlavent.Appl");
} catch (e) {
  WScript.StdErr.WriteLine("Parlavent.Appl cannot be created (" + (e.number >>> 0).toString(16) + "): " + e.message);
  WScript.Quit(1);
}
WScript.Echo("GetSimpleTrans(Hund): " + appl.GetSimpleTrans("Hund"));
var t = appl.GetTranslate("Haus");
WScript.Echo("GetTranslate(Haus) holds \u0434\u043e\u043c: " + (t.indexOf("\u0434\u043e\u043c") >= 0));
WScript.Echo("ColDics: " + appl.ColDics.Count + ", the first: " + appl.ColDics.Item(1).Name + " (" +
             appl.ColDics(1).Lang1 + "-" + appl.ColDics(1).Lang2 + "), current: " + appl.Dic.Name);
appl.SetInput("Katze");
WScript.Echo("GetInput after SetInput(Katze): " + appl.GetInput());
appl.SetInput("Hund", true);
WScript.Echo("GetInput after SetInput(Hund, true): " + appl.GetInput());
var langs = appl.DicLanguages, names = [];
for (var i = 1; i <= langs.Count; i++) names.push(langs.Item(i).Lang + "=" + langs(i).Name() + "/" + langs(i).Dics.Count);
WScript.Echo("DicLanguages: " + names.join(", "));
var first = langs(1).Dics(1);
WScript.Echo("DicLanguages(1).Dics(1): " + first.Dic.Name + " side " + first.Dir + ", GetDic(1): " +
             langs(1).GetDic(1).Name + ", GetDir(9): " + langs(1).GetDir(9));
WScript.Echo("DicLanguages(\"RU\"): " + langs("RU").Name());
try {
  langs(99);
  WScript.Echo("DicLanguages(99): no error");
} catch (e) {
  WScript.Echo("DicLanguages(99): an error");
}
var srcs = appl.Dic.Srcs;
WScript.Echo("Dic.Srcs: " + srcs.Count + (srcs.Count ? ", the first: " + srcs(1).Name + " (" + srcs(1).Language1 +
             "-" + srcs(1).Language2 + ", LangID " + srcs(1).LangID + ")" : ""));
var before = appl.Undo.UndoCol.Count;
appl.ShowList("Haus");
appl.ShowList("Baum");
var undo = appl.Undo;
WScript.Echo("Undo after two word lists: " + (undo.UndoCol.Count - before) + " more views, newest " +
             undo.UndoCol(1).Mode + ":" + undo.UndoCol(1).Data + ", UndoPos " + undo.UndoPos);
undo.Back();
WScript.Echo("Undo after Back: UndoPos " + appl.Undo.UndoPos + ", input " + appl.GetInput());
var s = appl.Sett;
WScript.Echo("Sett: CurLang " + s.CurLang + ", AutoOn " + s.AutoOn + ", DicPath set " + (s.DicPath.length > 0) +
             ", DefTransLink " + (s.DefTransLink ? s.DefTransLink.Prefix : "none"));
WScript.Echo("Voices: " + appl.Voices.Count + ", DefVoice " + (appl.DefVoice ? appl.DefVoice.Name : "none"));
appl.GetTranslate("Katze");
var ws = appl.WordSet;
WScript.Echo("WordSet after GetTranslate(Katze): " + (ws ? ws.InString + ", IsTrans " + ws.IsTrans : "none"));
appl.GetTranslate("Haus");
var word = appl.WordSet.Words(1), rech = word.RechSet(1), theme = rech.ThemeSet(1), comm = theme.CommSet(1);
WScript.Echo("WordSet.Words(1): " + word.Word + ", RechSet(1).ID " + rech.ID + ", ThemeSet(1).CommSet(1).TransSet(1): " +
             escape(comm.TransSet(1).Text) + " of " + comm.TransSet.Count);
WScript.Echo("stat: " + appl.stat.Items.Count + " words, Dic.GetSrc: " + appl.Dic.GetSrc().Name);
