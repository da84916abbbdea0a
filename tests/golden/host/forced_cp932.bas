print "日本"
