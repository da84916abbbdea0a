#!/usr/bin/env -S vornbasic --tty
print "script"
@end
