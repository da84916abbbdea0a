' five keys for abc, then a second registration in other capitals
regist "abc", "\bin\viewer.exe"
regist "ABC", "\bin\other.exe"
' q is registered and removed again; removing twice is harmless
regist "q", "sh"
regist "q", ""
regist "q", ""
' an empty extension does nothing, with or without a program
regist "", "sh"
regist "", ""
' 14 characters fit, 15 do not
regist "abcdefghijklmn", "long"
regist "abcdefghijklmno", "longer"
print "done"
