Tallowick demo image: Brickfall 64.prg
