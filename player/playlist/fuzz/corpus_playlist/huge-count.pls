[playlist]
NumberOfEntries=2147483647
File2147483647=x.mp3
