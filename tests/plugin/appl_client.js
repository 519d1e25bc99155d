// A script client of the running program, run by the Windows Script Host (cscript).
var appl = new ActiveXObject("Parlavent.Appl");
WScript.Echo("GetSimpleTrans(Hund): " + appl.GetSimpleTrans("Hund"));
var t = appl.GetTranslate("Haus");
WScript.Echo("GetTranslate(Haus) holds \u0434\u043e\u043c: " + (t.indexOf("\u0434\u043e\u043c") >= 0));
WScript.Echo("ColDics: " + appl.ColDics.Count + ", the first: " + appl.ColDics.Item(1).Name + " (" +
             appl.ColDics(1).Lang1 + "-" + appl.ColDics(1).Lang2 + "), current: " + appl.Dic.Name);
appl.SetInput("Katze");
WScript.Echo("GetInput after SetInput(Katze): " + appl.GetInput());
appl.SetInput("Hund", true);
WScript.Echo("GetInput after SetInput(Hund, true): " + appl.GetInput());
