Tsigns
