' a registered extension starts its program with the document and waits for it
regist "zz", "sh log.sh"
exec "doc.zz"
' the extension is found whatever its capitals; no "%2" in the command, so the
' parameters go nowhere
exec "Doc.ZZ", "p1 p2"
' device names stand for files under the device root
exec "\docs\report.zz"
' the command is split at blanks after the document is put in
exec "my doc.zz"
exec "a.b.zz"
' names without an extension start nothing
exec "noext"
exec "dot."
exec ".zz"
exec ""
' nor do unregistered extensions, or registrations removed
exec "doc.qq"
regist "zz", ""
exec "doc.zz"
' names of at most 251 characters: one more and nothing starts
n$ = ""
for i = 1 to 248 : n$ = n$ + "a" : next i
exec n$ + ".zz"
regist "zz", "sh log.sh"
exec n$ + ".zz"
exec n$ + "a.zz"
exec "doc.zz", n$ + "aaaa"
print "after"
