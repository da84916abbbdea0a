a$="こんにちは"
print a$;len(a$)
print "ｶﾅ漢字"
save "copy.bas"
