' a program is started directly, whatever the capitals of its extension, with
' the parameters as its arguments; exec returns when it has ended
print "before"
exec "./tool.EXE", "one  two"
print "between"
exec "\bin\tool.exe", "x"
' no registry is read for exe: this registration is not used
regist "exe", "sh log.sh"
exec "./tool.EXE"
' a registered program named by a device name
regist "abc", "\bin\tool.exe"
exec "doc.abc"
' a program that is not there starts nothing
exec "./missing.exe", "x"
print "after"
