[Playlist]
numberofentries=0x3
File1=a.mp3
Title1="A"
Length1=1000
File3=http://radio/x
